#pragma once

// One entry of the path list: a picture path of at most 1023 characters.
class IMAGE_LIST_CLASS {
  public:
    static constexpr int PathCapacity = 1024;

    char Path[PathCapacity] = {};
};
