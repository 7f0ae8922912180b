#!/usr/bin/python3
"""A read-only FUSE file system that shows the files of a folder as a stalled network share
shows them: reads of the file named "stalled" beyond its first 64 KB do not return, while
every other file reads normally. As on a network share whose waits are killable, a stalled read
fails once its process is being killed, and only then.

    stalled_share.py FOLDER MOUNTPOINT STALLED_NAME

Prints "stalled" each time a read stalls. Runs in the foreground until it is ended; the caller
unmounts (fusermount -u -z)."""

import errno
import os
import sys
import threading

import fusepy

ANSWERED = 64 * 1024


def killed(thread):
    """Whether the thread is gone or has a kill pending."""
    try:
        with open("/proc/%d/status" % thread) as status:
            for line in status:
                name, _, value = line.partition(":")
                if name in ("SigPnd", "ShdPnd") and int(value, 16) & (1 << (9 - 1)):
                    return True
    except OSError:
        return True
    return False


class StalledShare(fusepy.Operations):
    use_ns = True

    def __init__(self, folder, stalled):
        self.folder = folder
        self.stalled = "/" + stalled
        self.never = threading.Event()

    def _real(self, path):
        return os.path.join(self.folder, path.lstrip("/"))

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._real(path))
        except OSError as error:
            raise fusepy.FuseOSError(error.errno)
        keys = ("st_mode", "st_size", "st_uid", "st_gid", "st_nlink", "st_atime_ns",
                "st_mtime_ns", "st_ctime_ns")
        answer = {key: getattr(st, key) for key in keys}
        for key in ("st_atime", "st_mtime", "st_ctime"):
            answer[key] = answer.pop(key + "_ns")
        return answer

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._real(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise fusepy.FuseOSError(errno.EROFS)
        return 0

    def read(self, path, size, offset, fh):
        if path == self.stalled and offset + size > ANSWERED:
            reader = fusepy.fuse_get_context()[2]
            print("stalled", flush=True)
            while not killed(reader):
                self.never.wait(0.05)
            raise fusepy.FuseOSError(errno.EINTR)
        with open(self._real(path), "rb") as file:
            file.seek(offset)
            return file.read(size)

    def statfs(self, path):
        return {"f_bsize": 4096, "f_frsize": 4096, "f_blocks": 1024, "f_bfree": 0,
                "f_bavail": 0, "f_files": 16, "f_ffree": 0, "f_namemax": 255}


def main():
    folder, mountpoint, stalled = sys.argv[1:4]
    # direct_io: every read of the program reaches read() above with its own offset and size,
    # rather than the kernel's read-ahead of the first pages.
    fusepy.FUSE(StalledShare(folder, stalled), mountpoint, foreground=True, ro=True,
                direct_io=True)


if __name__ == "__main__":
    main()
