#include "Text_fit.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace ui {

int Fitting_Point_Size(const QFont& font, const QString& text, const QSize& room, int largest, bool wrap,
                       int smallest) {
    QFont sized = font;
    for (int size = largest; size > smallest; --size) {
        sized.setPointSize(size);
        const QFontMetrics metrics(sized);
        const QSize needed = wrap ? metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text).size()
                                  : QSize(metrics.horizontalAdvance(text), metrics.height());
        if (needed.width() <= room.width() && needed.height() <= room.height()) return size;
    }
    return smallest;
}

void Show_Fitted(QLabel& label, const QString& text, int largest) {
    QFont font = label.font();
    // A framed label without an indent of its own indents its text by half an "x" (of the font it has).
    const int indent = label.indent() >= 0 ? label.indent()
                       : label.frameWidth() > 0 ? QFontMetrics(font).horizontalAdvance(QLatin1Char('x')) / 2
                                                : 0;
    const QSize room = label.contentsRect().size() - QSize(2 * label.margin() + indent, 2 * label.margin());
    font.setPointSize(Fitting_Point_Size(font, text, room, largest, label.wordWrap()));
    label.setFont(font);
    label.setText(text);
}

}  // namespace ui
