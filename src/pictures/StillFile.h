#pragma once

#include "LoadControl.h"
#include "PictureFile.h"

#include <QString>

#include <optional>

namespace zelvo {

// How long a file's size and time of change must have stood still before it is shown: longer
// than a downloader or an editor pauses between two writes. A file whose full length was set
// before its bytes arrive holds whole pictures of black rows until then.
inline constexpr int FileStillMs = 500;

// The longest a load waits for a file that keeps changing; it then cannot be loaded, and a
// watch on it reloads it once it has settled.
inline constexpr int MaxFileWaitMs = 30000;

// The file opened once it has stood still for FileStillMs: at once when its last change is that
// old, else once it has been seen unchanged that long (a time of change in the future included).
// Nothing when it cannot be opened, keeps changing past MaxFileWaitMs, or the load is to stop
// first.
[[nodiscard]] std::optional<PictureFile> openStillFile(const QString& path, const LoadGuard& guard);

} // namespace zelvo
