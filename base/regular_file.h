// Files that anyone may have put where a program reads or writes: a holiday file, a CA file, the
// holiday folder. A FIFO must not stall a program and a device must not feed it for ever, and a
// link someone left in a folder must not send a write elsewhere.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "base/operator_message.h"

// The whole of a regular file of at most `maxBytes`, read without ever waiting: a FIFO, a device,
// a socket or a folder is refused without being read, as is a file larger than `maxBytes`.
// False with `failure` saying why in a few words, without the file's name, which the caller puts
// in its own sentence ("일반 파일이 아닙니다 (FIFO)" / "not a regular file (a FIFO)").
bool ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                     OperatorMessage& failure);

// Writes `bytes` as `target`: into a new file of its own beside it, created exclusively, then
// renamed over `target`. Whatever stands at `target` or at any name in the folder, a link
// included, is replaced or left alone, never followed, and a reader never sees half a file.
// False with `failure` as above; nothing is left behind then.
bool ReplaceFileWith(const std::filesystem::path& target, const std::string& bytes, OperatorMessage& failure);
