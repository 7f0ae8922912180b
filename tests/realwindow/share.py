#!/usr/bin/python3
"""share.py FOLDER MOUNTPOINT [NAME]: the folder, read-only over FUSE, as a network share shows it.
Each read says "read FILE BYTES" as it is answered. Reads of NAME beyond its first 64 KB stall:
they say "stalled" and return only once their process is being killed, as on a share whose waits
are killable; other files read normally."""

import errno
import os
import sys
import time

import fusepy


def killed(thread):
    try:
        with open("/proc/%d/status" % thread) as status:
            return any(line.split(":")[0] in ("SigPnd", "ShdPnd") and
                       int(line.split(":")[1], 16) & (1 << 8) for line in status)
    except OSError:
        return True


class Share(fusepy.Operations):
    use_ns = True

    def __init__(self, folder, stalled):
        self.folder, self.stalled = folder, "/" + stalled

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self.folder + path)
        except OSError as error:
            raise fusepy.FuseOSError(error.errno)
        return {key: getattr(st, key + ("_ns" if key.endswith("time") else ""))
                for key in ("st_mode", "st_size", "st_nlink", "st_mtime", "st_ctime", "st_atime")}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self.folder + path)

    def read(self, path, size, offset, fh):
        if path == self.stalled and offset + size > 64 * 1024:
            print("stalled", flush=True)
            reader = fusepy.fuse_get_context()[2]
            while not killed(reader):
                time.sleep(0.05)
            raise fusepy.FuseOSError(errno.EINTR)
        with open(self.folder + path, "rb") as file:
            file.seek(offset)
            data = file.read(size)
        print("read %s %d" % (path[1:], len(data)), flush=True)
        return data


# direct_io: each read of the program reaches read() with its own offset and size.
fusepy.FUSE(Share(sys.argv[1], sys.argv[3] if len(sys.argv) > 3 else ""), sys.argv[2],
            foreground=True, ro=True, direct_io=True)
