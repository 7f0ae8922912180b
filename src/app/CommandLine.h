#pragma once

#include "PictureDrop.h"
#include "core/RepeatTile.h"

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

// "zelvo --set-background FILE" and "zelvo --save-repeat OUT.png FILE", with --repeat and
// --ground: work done without a window.
struct BackgroundCommand
{
    enum class Kind { SetBackground, SaveRepeat };
    Kind kind = Kind::SetBackground;
    QString picture;
    // Where --save-repeat writes.
    QString output;
    // The window colour is not among these.
    Repeat repeat = RepeatSystems.front().repeat;
    Ground ground = Grounds.front().ground;
};

struct BackgroundRequest
{
    std::optional<BackgroundCommand> command;
    // Why the arguments ask for nothing that can be done, for standard error.
    QString complaint;
};

// Whether the arguments name one of the background commands, before anything is started.
[[nodiscard]] bool asksForBackgroundCommand(int argc, char* argv[]);
// The command the arguments ask for, read once Qt has taken its own options out of them.
[[nodiscard]] BackgroundRequest readBackgroundCommand(const QStringList& arguments);

// Prints the help or the version on standard output when the arguments ask for one, and
// returns the program's exit status then. Needs neither a display nor the application object.
[[nodiscard]] std::optional<int> answerInformationRequest(int argc, char* argv[]);

} // namespace zelvo
