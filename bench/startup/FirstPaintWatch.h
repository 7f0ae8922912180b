#pragma once

#include <QPoint>
#include <QRgb>
#include <QString>

#include <string>
#include <vector>

using Display = struct _XDisplay;

namespace zelvo::bench {

// Watches an X server for the first window a program maps and tells when that window has been
// drawn all over: the server's damage reports cover it and a probe pixel shows its ground colour.
// Both programs under comparison are judged by the same outside observer, and neither needs
// to know it is watched.
class FirstPaintWatch
{
public:
    explicit FirstPaintWatch(const QString& display);
    ~FirstPaintWatch();
    FirstPaintWatch(const FirstPaintWatch&) = delete;
    FirstPaintWatch& operator=(const FirstPaintWatch&) = delete;

    [[nodiscard]] bool ready() const { return m_display != nullptr && m_damage != 0; }

    struct Probe
    {
        QPoint place; // in window coordinates
        QRgb ground;
    };
    // Milliseconds from starting the program (argv[0] a path) with exactly this environment to
    // its window being painted; negative when that did not happen within the time limit. The
    // program is killed afterwards and its windows are gone when this returns.
    [[nodiscard]] double timeToFirstPaint(const std::vector<std::string>& argv,
                                          const std::vector<std::string>& environment,
                                          const Probe& probe);

private:
    void discardPendingEvents();
    [[nodiscard]] bool probeShows(const QPoint& place, QRgb ground) const;

    Display* m_display = nullptr;
    unsigned long m_root = 0;
    unsigned long m_damage = 0;
    int m_damageEventBase = 0;
};

} // namespace zelvo::bench
