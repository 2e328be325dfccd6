#include <cstring>
#include <string>
#include <vector>

#include "job/exception_boundary.h"
#include "job/image_to_video_class.h"
#include "job/path_sort_compare.h"
#include "job/path_sort_order.h"
#include "platform/classes/format.h"

namespace {

void ExchangeEntries(IMAGE_LIST_CLASS& a, IMAGE_LIST_CLASS& b) {
    IMAGE_LIST_CLASS temporary;
    std::memcpy(temporary.Path, a.Path, std::strlen(a.Path) + 1);
    std::memcpy(a.Path, b.Path, std::strlen(b.Path) + 1);
    std::memcpy(b.Path, temporary.Path, std::strlen(temporary.Path) + 1);
}

// The selection sort of entries First to End - 1, with its progress points and the
// abort marker polled at each of them.
int SelectionSort(IMAGE_TO_VIDEO_CLASS& job, int first, int end, bool forward) {
    std::vector<std::string> keys;
    for (int i = first; i < end; ++i)
        keys.push_back(SortKey(job.ImageList[i].Path, job.SortDepth));
    SelectionOrder order(std::move(keys), forward);
    for (int i = first; i < end; ++i) {
        if (i % 15 == 0 || i + 1 == end) {
            const int percent = static_cast<int>(static_cast<long double>(i + 1) / end * 100);
            job.WriteProgress(Format("\n%d%% - sorted %d of %d...", percent, i + 1, end).c_str(),
                              Format("%d%% - sorted %d of %d...", percent, i + 1, end).c_str());
            if (job.AbortFileExists()) {
                job.WriteOutput("\n\nAborted sort per user request.");
                return -1;
            }
        }
        const int best =
            first + static_cast<int>(order.SelectAndExchange(static_cast<size_t>(i - first)));
        if (best != i) ExchangeEntries(job.ImageList[i], job.ImageList[best]);
    }
    job.WriteOutput("\nImage list sorted successfully.\n");
    return 0;
}

int GuardedSort(IMAGE_TO_VIDEO_CLASS& job, int first, int end, bool forward) {
    auto failed = [&job, forward] {
        const char* text = forward ? "\nError occured while sorting images. - "
                                     "IMAGE_TO_VIDEO_CLASS::SortListForward()\n\n"
                                   : "\nError occured while sorting images. - "
                                     "IMAGE_TO_VIDEO_CLASS::SortListBackward()\n\n";
        job.ShowErrorWindow(text);
        job.WriteOutput(text);
        return 1;
    };
    return RunGuarded(
        job,
        [&] {
            job.WriteOutput(forward ? "\n\nSorting list forward...\n"
                                    : "\nSorting list backward...\n");
            return SelectionSort(job, first, end, forward);
        },
        failed);
}

} // namespace

int IMAGE_TO_VIDEO_CLASS::SortListForward(int First, int End) {
    return GuardedSort(*this, First, End, true);
}

int IMAGE_TO_VIDEO_CLASS::SortListBackward(int First, int End) {
    return GuardedSort(*this, First, End, false);
}
