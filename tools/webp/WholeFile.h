// A file that appears whole or not at all: the bytes go to a new file beside
// the target, which replaces the target only once it is complete and flushed.
// One implementation per system (WholeFilePosix.cpp, WholeFileWin32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace webp_animation {

// A new, empty file in the target's folder with a name nobody else uses, or
// "" with the reason.
std::string MakeTemporaryFile(const std::string& target, std::string& reason);
// Writes every byte and flushes them to the disk: a full disk may only show
// itself then.
bool WriteAll(const std::string& path, const std::uint8_t* bytes, std::size_t size,
              std::string* error);
// Renames from over to, replacing what was there.
bool MoveIntoPlace(const std::string& from, const std::string& to, std::string* error);

}  // namespace webp_animation
