#pragma once

#include <QString>

namespace zelvo {

// The desktops that keep their background in GSettings, each in a schema of its own.
enum class BackgroundSchema {
    Gnome,
    Cinnamon,
    Mate,
};

// Writes the PNG file as the tiled background into the schema, all keys at once, after checking
// that the schema and every key it needs are installed and writable. Returns why it could not,
// in words, or nothing once the settings store has it.
[[nodiscard]] QString writeBackgroundSchema(BackgroundSchema schema, const QString& pngPath);

} // namespace zelvo
