// Standard output and standard error for the browser build: every byte the
// program writes reaches the page at once, through Module.onOutput(fd,
// bytes). Emscripten's own console output would hold back a line until its
// newline, and the report's key guide ends without one.
// Descriptors other than 1 and 2 do not exist (EBADF); nothing is read.
mergeInto(LibraryManager.library, {
  fd_write__deps: [],
  fd_write__sig: 'iiiii',
  fd_write: function(fd, iov, iovcnt, pnum) {
    if (fd !== 1 && fd !== 2) {
      return 8;  // EBADF
    }
    var written = 0;
    for (var i = 0; i < iovcnt; i++) {
      var base = HEAPU32[(iov + 8 * i) >> 2];
      var length = HEAPU32[(iov + 8 * i + 4) >> 2];
      if (length > 0 && Module['onOutput']) {
        Module['onOutput'](fd, HEAPU8.slice(base, base + length));
      }
      written += length;
    }
    HEAPU32[pnum >> 2] = written;
    return 0;
  },
});
