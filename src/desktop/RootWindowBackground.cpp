// Platform-specific: the X11 root window, through xcb.
#include "RootWindowBackground.h"

#ifdef ZELVO_WITH_XCB
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <memory>
#endif

namespace zelvo {

#ifdef ZELVO_WITH_XCB

namespace {

// The X protocol's limit on a pixmap's side.
constexpr int MaxPixmapSide = 32767;

struct FreeReply
{
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The pixmap a root-window property names, or none.
xcb_pixmap_t pixmapProperty(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t property)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, property, XCB_ATOM_PIXMAP, 0, 1),
        nullptr));
    if (!reply || reply->type != XCB_ATOM_PIXMAP || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) != 4)
        return xcb_pixmap_t(XCB_NONE);
    return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
}

const xcb_visualtype_t* rootVisual(const xcb_screen_t& screen)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen.root_visual)
                return visuals.data;
        }
    }
    return nullptr;
}

int bitsPerPixel(const xcb_setup_t& setup, uint8_t depth)
{
    for (auto formats = xcb_setup_pixmap_formats_iterator(&setup); formats.rem;
         xcb_format_next(&formats)) {
        if (formats.data->depth == depth)
            return formats.data->bits_per_pixel;
    }
    return 0;
}

// A colour channel of eight bits placed in a visual's mask, widened or narrowed to it.
uint32_t placed(int channel, uint32_t mask)
{
    const int width = std::popcount(mask);
    const uint32_t scaled = width >= 8 ? uint32_t(channel) * ((1u << width) - 1) / 255
                                       : uint32_t(channel) >> (8 - width);
    return (scaled << std::countr_zero(mask)) & mask;
}

// One row of the picture in the server's pixel layout: 32 bits a pixel in its byte order.
void packRow(const QImage& picture, int y, const xcb_visualtype_t& visual, bool msbFirst,
             uint8_t* out)
{
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
        const uint32_t value = placed(qRed(line[x]), visual.red_mask) |
                               placed(qGreen(line[x]), visual.green_mask) |
                               placed(qBlue(line[x]), visual.blue_mask);
        for (int b = 0; b < 4; ++b)
            out[4 * x + b] = uint8_t(value >> (8 * (msbFirst ? 3 - b : b)));
    }
}

// Whether the server answered every request so far without an error.
bool noErrors(xcb_connection_t* connection)
{
    const Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    bool clean = sync != nullptr;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        if (event->response_type == 0)
            clean = false;
        std::free(event);
    }
    return clean && !xcb_connection_has_error(connection);
}

QString fillPixmap(xcb_connection_t* connection, const xcb_setup_t& setup,
                   const xcb_screen_t& screen, xcb_pixmap_t pixmap, const QImage& picture)
{
    const xcb_visualtype_t* visual = rootVisual(screen);
    if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR ||
        bitsPerPixel(setup, screen.root_depth) != 32)
        return QStringLiteral("The X display's colours (depth %1) are not of a kind this can "
                              "draw in.")
            .arg(screen.root_depth);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    // As many rows at a time as one request may carry.
    const qint64 requestBytes = qint64(xcb_get_maximum_request_length(connection)) * 4 - 64;
    const int rowBytes = 4 * picture.width();
    const int rowsAtOnce = int(std::clamp<qint64>(requestBytes / rowBytes, 1, picture.height()));
    const bool msbFirst = setup.image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    QByteArray rows(qsizetype(rowBytes) * rowsAtOnce, Qt::Uninitialized);
    for (int top = 0; top < picture.height(); top += rowsAtOnce) {
        const int count = std::min(rowsAtOnce, picture.height() - top);
        for (int y = 0; y < count; ++y)
            packRow(picture, top + y, *visual, msbFirst,
                    reinterpret_cast<uint8_t*>(rows.data()) + qsizetype(y) * rowBytes);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, uint16_t(picture.width()),
                      uint16_t(count), 0, int16_t(top), 0, screen.root_depth,
                      uint32_t(rowBytes) * count,
                      reinterpret_cast<const uint8_t*>(rows.constData()));
    }
    xcb_free_gc(connection, gc);
    if (!noErrors(connection))
        return QStringLiteral("The X display has no room for a picture of %1 x %2 pixels.")
            .arg(picture.width())
            .arg(picture.height());
    return {};
}

} // namespace

QString setRootWindowBackground(const QImage& source)
{
    if (source.isNull())
        return QStringLiteral("There is no picture to set.");
    if (source.width() > MaxPixmapSide || source.height() > MaxPixmapSide)
        return QStringLiteral("A picture of %1 x %2 pixels is larger than an X display's "
                              "background may be (%3 pixels each way).")
            .arg(source.width())
            .arg(source.height())
            .arg(MaxPixmapSide);
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> owned(connection,
                                                                               xcb_disconnect);
    if (xcb_connection_has_error(connection))
        return QStringLiteral("The X display \"%1\" can't be reached.")
            .arg(qEnvironmentVariable("DISPLAY"));
    const xcb_setup_t* setup = xcb_get_setup(connection);
    auto screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return QStringLiteral("The X display has no screen %1.").arg(screenNumber);
    const xcb_screen_t& screen = *screens.data;
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);

    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, screen.root_depth, pixmap, screen.root, uint16_t(picture.width()),
                      uint16_t(picture.height()));
    if (const QString why = fillPixmap(connection, *setup, screen, pixmap, picture);
        !why.isEmpty()) {
        xcb_free_pixmap(connection, pixmap);
        xcb_flush(connection);
        return why;
    }

    const xcb_atom_t rootPixmap = atom(connection, "_XROOTPMAP_ID");
    const xcb_atom_t setterPixmap = atom(connection, "ESETROOT_PMAP_ID");
    xcb_grab_server(connection);
    // The previous setter's pixmap is freed where both properties still name it: then no
    // program has put another background over it since.
    const xcb_pixmap_t previous = pixmapProperty(connection, screen.root, setterPixmap);
    if (previous != XCB_NONE && previous == pixmapProperty(connection, screen.root, rootPixmap))
        xcb_kill_client(connection, previous);
    xcb_change_window_attributes(connection, screen.root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(connection, 0, screen.root, 0, 0, 0, 0);
    for (const xcb_atom_t property : {rootPixmap, setterPixmap})
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen.root, property,
                            XCB_ATOM_PIXMAP, 32, 1, &pixmap);
    xcb_ungrab_server(connection);
    xcb_set_close_down_mode(connection, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    if (!noErrors(connection))
        return QStringLiteral("The X display refused the new background.");
    return {};
}

#else

QString setRootWindowBackground(const QImage&)
{
    return QStringLiteral("This program was built without X11.");
}

#endif

} // namespace zelvo
