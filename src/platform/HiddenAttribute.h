#pragma once
// The hidden mark of a file, where the file system keeps one: FAT media
// (floppies, USB sticks) have the DOS hidden attribute, which other systems
// honour when they list the medium. Other file systems have no such mark;
// there nothing is done and no error given (a file is never renamed to a
// dot name for it, which would change the name others look for).
#include "platform/FileSystem.h"

namespace zevro {

IoError setHiddenAttribute(const NativePath& path);

}  // namespace zevro
