#pragma once

#include <deque>
#include <future>
#include <memory>

class IMAGE_TO_VIDEO_CLASS;
class TImage;

// Loads the pictures of the job's list in order, reading the next ones on other threads
// while the caller works on the current one. Results, reports and the holder's picture
// are those of LoadImage: a picture another thread could not read is loaded once more by
// LoadImage on the caller's thread, which reports the failure in its own words.
class TPictureReadAhead {
  public:
    explicit TPictureReadAhead(IMAGE_TO_VIDEO_CLASS& Job) : job_(Job) {}
    ~TPictureReadAhead();
    TPictureReadAhead(const TPictureReadAhead&) = delete;
    TPictureReadAhead& operator=(const TPictureReadAhead&) = delete;

    // Job.LoadImage(Holder, Job.ImageList[Index].Path), then starts on the pictures after.
    int Load(TImage* Holder, int Index);

  private:
    // Pictures read at once: decoding is most of the work, and two keep both cores of a
    // small machine busy without holding many large pictures in memory.
    static constexpr int Depth = 2;

    struct TPending {
        int Index;
        std::future<std::unique_ptr<TImage>> Picture;
    };
    // Starts reading picture Index on another thread; false when no thread can be had.
    bool Start(int Index);
    void Drop();

    IMAGE_TO_VIDEO_CLASS& job_;
    std::deque<TPending> pending_;
};
