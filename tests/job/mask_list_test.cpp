#include <gtest/gtest.h>

#include <cstring>

#include "job/image_to_video_class.h"

TEST(MaskInList, FindsTheMaskAnywhereInTheList) {
    struct Case {
        const char* list;
        const char* mask;
        bool found;
    } cases[] = {
        {"*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf", "*.JPG", true},
        {"*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf", "*.Jpeg", true},
        {"*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf", "*.jp", true},
        {"*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf", "*.j", true},
        {"*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf", "*.txt", false},
        {"*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf", "*.*", false},
        {"*.jpg,*.*", "*.*", true},
        {"*.JPG", "*.jpg", true},
        {"**.jpg", "*.jpg", true},  // the fall-back restarts on the character that broke the match
        {"*.jjpg", "*.jpg", false}, // but only one character back
        {"*.bmp", "*", true},
        {"", "*.jpg", false},
        {"*.jp", "*.jpg", false},
    };
    for (const Case& c : cases) {
        IMAGE_TO_VIDEO_CLASS job;
        std::strcpy(job.MaskList, c.list);
        EXPECT_EQ(job.MaskInList(c.mask), c.found) << c.list << " / " << c.mask;
    }
}
