#include "gui/form_main_placement.h"

#include <algorithm>
#include <optional>

namespace murmelix {

namespace {

int clampedStart(int start, int length, int areaStart, int areaEnd) {
    return std::max(areaStart, std::min(start, areaEnd - length));
}

// The place under or beside the main window with at least `least` of room; none when there
// is not that much.
std::optional<QRect> freePlace(const QRect& main, QSize wanted, QSize least, const QRect& area,
                               int frame) {
    const int gap = frame / 2;
    least = least.boundedTo(wanted);
    // Under the main window.
    const int below = area.bottom() + 1 - (main.bottom() + 1 + gap) - frame;
    if (below >= least.height()) {
        const QSize size(wanted.width(), std::min(wanted.height(), below));
        const int left =
            clampedStart(main.left(), size.width() + frame, area.left(), area.right() + 1);
        return QRect(QPoint(left, main.bottom() + 1 + gap), size);
    }
    // Beside it, on the side with more room.
    const int right = area.right() + 1 - (main.right() + 1 + gap) - frame;
    const int left = main.left() - gap - area.left() - frame;
    const int beside = std::max(right, left);
    if (beside >= least.width()) {
        const QSize size(std::min(wanted.width(), beside), wanted.height());
        const int top =
            clampedStart(main.top(), size.height() + frame, area.top(), area.bottom() + 1);
        const int x =
            right >= left ? main.right() + 1 + gap : main.left() - gap - frame - size.width();
        return QRect(QPoint(x, top), size);
    }
    return std::nullopt;
}

}  // namespace

QRect placeBesideMainWindow(const QRect& main, QSize wanted, QSize least, QSize smallest,
                            const QRect& area, int frame) {
    wanted = wanted.boundedTo(area.size() - QSize(frame, frame));
    for (const QSize room : {least, smallest}) {
        if (const std::optional<QRect> place = freePlace(main, wanted, room, area, frame)) {
            return *place;
        }
    }
    // Nowhere free: as low as the screen lets it.
    const int gap = frame / 2;
    const int top = clampedStart(main.bottom() + 1 + gap, wanted.height() + frame, area.top(),
                                 area.bottom() + 1);
    const int x = clampedStart(main.left(), wanted.width() + frame, area.left(), area.right() + 1);
    return QRect(QPoint(x, top), wanted);
}

}  // namespace murmelix
