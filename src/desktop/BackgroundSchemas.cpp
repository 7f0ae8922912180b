// GLib comes before any Qt header: GIO's headers name a member "signals", a word Qt defines.
#ifdef ZELVO_WITH_GIO
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>
#endif

#include "BackgroundSchemas.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace zelvo {

#ifdef ZELVO_WITH_GIO

namespace {

struct SchemaKeys
{
    BackgroundSchema schema;
    const char* id;
    // The desktop's name in the reasons given.
    const char* desktop;
    // The picture's key, which takes a file:// URI or else a plain path.
    const char* pictureKey;
    bool pictureIsUri;
    // A second picture key for the dark style, written where the schema has it.
    const char* darkKey;
};

constexpr SchemaKeys Schemas[] = {
    {BackgroundSchema::Gnome, "org.gnome.desktop.background", "GNOME", "picture-uri", true,
     "picture-uri-dark"},
    {BackgroundSchema::Cinnamon, "org.cinnamon.desktop.background", "Cinnamon", "picture-uri", true,
     nullptr},
    {BackgroundSchema::Mate, "org.mate.background", "MATE", "picture-filename", false, nullptr},
};
constexpr const char* OptionsKey = "picture-options";
// The picture's own size, laid side by side from the top left.
constexpr const char* TiledOption = "wallpaper";

QString tr(const char* text)
{
    return QCoreApplication::translate("zelvo::BackgroundSchemas", text);
}

struct KeyValue
{
    const char* key;
    GVariant* value;
};

// Whether the key is there, takes a value of that type and range, and may be written; why not.
QString check(GSettingsSchema* schema, GSettings* settings, const KeyValue& write,
              const QString& desktop)
{
    if (!g_settings_schema_has_key(schema, write.key))
        return tr("The %1 background settings have no \"%2\" key.")
            .arg(desktop, QString::fromLatin1(write.key));
    GSettingsSchemaKey* key = g_settings_schema_get_key(schema, write.key);
    const bool fits = g_variant_type_equal(g_settings_schema_key_get_value_type(key),
                                           g_variant_get_type(write.value)) &&
                      g_settings_schema_key_range_check(key, write.value);
    g_settings_schema_key_unref(key);
    if (!fits)
        return tr("The %1 background settings do not take a tiled picture in \"%2\".")
            .arg(desktop, QString::fromLatin1(write.key));
    if (!g_settings_is_writable(settings, write.key))
        return tr("The %1 background settings are locked.").arg(desktop);
    return {};
}

// Without a settings store GIO keeps what is written in memory, where the desktop never sees it.
bool settingsStoreKeeps()
{
    GSettingsBackend* backend = g_settings_backend_get_default();
    const char* type = G_OBJECT_TYPE_NAME(backend);
    const bool keeps = std::strcmp(type, "GMemorySettingsBackend") != 0 &&
                       std::strcmp(type, "GNullSettingsBackend") != 0;
    g_object_unref(backend);
    return keeps;
}

QString write(const SchemaKeys& keys, GSettingsSchema* schema, const QString& pngPath)
{
    const QString desktop = QString::fromLatin1(keys.desktop);
    const QByteArray picture =
        keys.pictureIsUri ? QUrl::fromLocalFile(pngPath).toEncoded() : pngPath.toUtf8();
    std::vector<KeyValue> writes{{keys.pictureKey, g_variant_new_string(picture.constData())},
                                 {OptionsKey, g_variant_new_string(TiledOption)}};
    if (keys.darkKey && g_settings_schema_has_key(schema, keys.darkKey))
        writes.push_back({keys.darkKey, g_variant_new_string(picture.constData())});
    for (const KeyValue& each : writes)
        g_variant_ref_sink(each.value);

    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    QString why;
    for (const KeyValue& each : writes) {
        if (why.isEmpty())
            why = check(schema, settings, each, desktop);
    }
    if (why.isEmpty() && !settingsStoreKeeps())
        why = tr("The desktop's settings store is not running, so the %1 background settings "
                 "cannot be kept.")
                  .arg(desktop);
    if (why.isEmpty()) {
        // One change, which the desktop follows once rather than key by key.
        g_settings_delay(settings);
        for (const KeyValue& each : writes)
            g_settings_set_value(settings, each.key, each.value);
        g_settings_apply(settings);
        g_settings_sync();
    }
    g_object_unref(settings);
    for (const KeyValue& each : writes)
        g_variant_unref(each.value);
    return why;
}

} // namespace

QString writeBackgroundSchema(BackgroundSchema schema, const QString& pngPath)
{
    const SchemaKeys* keys =
        std::find_if(std::begin(Schemas), std::end(Schemas),
                     [schema](const SchemaKeys& k) { return k.schema == schema; });
    const QString desktop = QString::fromLatin1(keys->desktop);
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* found =
        source ? g_settings_schema_source_lookup(source, keys->id, TRUE) : nullptr;
    if (!found)
        return tr("The %1 background settings are not installed.").arg(desktop);
    const QString why = write(*keys, found, pngPath);
    g_settings_schema_unref(found);
    return why;
}

#else

QString writeBackgroundSchema(BackgroundSchema, const QString&)
{
    return QCoreApplication::translate("zelvo::BackgroundSchemas",
                                       "This program was built without GSettings.");
}

#endif

} // namespace zelvo
