#pragma once

#include <QString>

#ifndef ZELVO_RESOURCES_DIR
#error "ZELVO_RESOURCES_DIR must name the source tree's resources folder"
#endif

namespace zelvo::test {

// A file of the source tree, by its path below the tree's top folder.
[[nodiscard]] inline QString sourcePath(const QString& relative)
{
    return QStringLiteral(ZELVO_RESOURCES_DIR "/../") + relative;
}

// A file of the program's resources folder.
[[nodiscard]] inline QString resourcePath(const QString& name)
{
    return QStringLiteral(ZELVO_RESOURCES_DIR "/") + name;
}

} // namespace zelvo::test
