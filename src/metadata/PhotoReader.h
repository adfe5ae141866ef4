#pragma once

#include "platform/FileMetadata.h"

#include <string>

// Reads a photo's capture time, camera, maker and size through Exiv2: JPEG, TIFF, PNG, WebP,
// HEIC, AVIF and the camera raw formats.
class PhotoReader
{
public:
    // False when Exiv2 knows no image kind for the file's content; values are left as they are
    // then. Throws what Exiv2 throws on a file it cannot parse.
    static bool read(const std::string& path, FileMetadata& values);
};
