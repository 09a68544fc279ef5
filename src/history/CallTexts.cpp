#include "history/CallTexts.h"

#include <QPainter>
#include <QPainterPath>

namespace orvanta::call_texts {

namespace {

// "\n" + label + spaces, as the details texts start each line.
QString line(const char* label, int spaces)
{
    return QStringLiteral("\n") + QLatin1String(label) + QString(spaces, QLatin1Char(' '));
}

struct Layout {
    int name;
    int number;
    int time;
};

QString heading(const char* nameLabel, const Layout& layout, const CallLogEntry& entry)
{
    return line(nameLabel, layout.name) + entry.name + line("Number", layout.number) +
           entry.number + line("Time", layout.time) + entry.time;
}

// Our own artwork: an arrow in a disc, coloured by the call's fate.
QIcon arrowIcon(const QColor& colour, bool outgoing, bool crossed)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, 14, 14));
    painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    const QPointF tail = outgoing ? QPointF(5, 11) : QPointF(11, 5);
    const QPointF head = outgoing ? QPointF(11, 5) : QPointF(5, 11);
    painter.drawLine(tail, head);
    const QPointF back = (tail - head) * 0.5;
    painter.drawLine(head, head + QPointF(back.x(), 0));
    painter.drawLine(head, head + QPointF(0, back.y()));
    if (crossed) {
        painter.setPen(QPen(Qt::white, 1.4));
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
    }
    return QIcon(pixmap);
}

}

QString groupName(CallKind kind)
{
    switch (kind) {
    case CallKind::Dialed:
        return QStringLiteral("Dialed Calls");
    case CallKind::Received:
        return QStringLiteral("Received Calls");
    case CallKind::Missed:
        return QStringLiteral("Missed Calls");
    }
    return {};
}

QString tooltipTitle(TooltipTitle title)
{
    switch (title) {
    case TooltipTitle::UnansweredCall:
        return QStringLiteral("UnAnswered Call");
    case TooltipTitle::AnsweredCall:
        return QStringLiteral("Answered Call");
    case TooltipTitle::DialedCall:
        return QStringLiteral("Dialed Call");
    }
    return {};
}

QString details(CallDetails details, const CallLogEntry& e)
{
    switch (details) {
    case CallDetails::CancelledDialed:
        return heading("Name", {17, 13, 19}, e) +
               QStringLiteral("\nComments        Cancelled Call\n");
    case CallDetails::AnsweredDialed:
        return heading("Name", {16, 12, 18}, e) +
               QStringLiteral("\nComments       Answered Call\n");
    case CallDetails::Received:
        return heading("Name", {16, 12, 18}, e) + line("Duration", 12) + e.duration +
               QStringLiteral("\n");
    case CallDetails::Missed:
        return heading("NAME", {16, 13, 18}, e) + QStringLiteral("\n");
    case CallDetails::Unanswered:
        return heading("Name", {15, 11, 17}, e) +
               QStringLiteral("\nComments      Unanswered Call\n");
    case CallDetails::AnsweredDialedFromFile:
        return heading("Name", {14, 10, 16}, e) + line("Duration", 9) + e.duration +
               QStringLiteral("\nComments     Answered Call\n");
    case CallDetails::AnsweredReceivedFromFile:
        return heading("Name", {14, 10, 16}, e) + line("Duration", 10) + e.duration +
               QStringLiteral("\nComments      Answered Call\n");
    }
    return {};
}

QIcon icon(CallIcon icon)
{
    switch (icon) {
    case CallIcon::Answered:
        return arrowIcon(QColor(40, 150, 70), true, false);
    case CallIcon::Missed:
        return arrowIcon(QColor(200, 40, 40), false, true);
    case CallIcon::Received:
        return arrowIcon(QColor(40, 110, 190), false, false);
    case CallIcon::UnansweredDialed:
        return arrowIcon(QColor(220, 140, 30), true, true);
    }
    return {};
}

}
