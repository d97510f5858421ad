// Writing a file whole or not at all: the drawings the program exports.
#pragma once

#include <string>

// Writes `contents` to `path`, "-" meaning standard output.
//
// A file is written to a temporary file beside it (".NAME.XXXXXX" in the
// same directory), flushed to the disk and closed, then renamed over `path`:
// readers see the old file or the whole new one, never a part. On any
// failure (no space, RLIMIT_FSIZE, an I/O error) the temporary file is
// removed and the old file is left as it was. A new file gets the usual
// permissions (0666 less the umask), a replaced one keeps its own; a
// symbolic link stays a link and the file it points to is replaced.
//
// A `path` that exists and is not a regular file (directory, FIFO, device,
// socket) is refused before anything is written or opened, so a FIFO
// without a reader does not block.
//
// Returns false on failure with `reason` set to strerror's text or
// "not a regular file". SIGXFSZ is ignored during the write, so an
// exceeded file-size limit fails the write instead of ending the program.
bool writeWholeFile(const std::string& path, const std::string& contents, std::string& reason);
