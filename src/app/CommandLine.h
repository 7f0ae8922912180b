#pragma once

#include "PictureDrop.h"

#include <QStringList>

#include <optional>

namespace zelvo {

// What the program was started with: "zelvo [FILE | FOLDER]", read once Qt has taken its own
// options out of the arguments.
struct CommandLine
{
    // The first file or folder named that exists, opened as a drop of it would be.
    std::optional<DropTarget> target;
    // For standard error, a line each: unknown options and names that do not exist.
    QStringList complaints;
    // False for an unknown option: the program then ends.
    bool understood = true;
};

[[nodiscard]] CommandLine readCommandLine(const QStringList& arguments);

// Prints the help or the version on standard output when the arguments ask for one, and
// returns the program's exit status then. Needs neither a display nor the application object.
[[nodiscard]] std::optional<int> answerInformationRequest(int argc, char* argv[]);

} // namespace zelvo
