#include "editor/FunNamePreview.h"

#include <QPainter>
#include <QPainterPath>

namespace twl {

namespace {

// The window text colour stands for "no code yet".
QColor ColourOf(int code, const QPalette& palette)
{
    if (code < 0) {
        return palette.color(QPalette::WindowText);
    }
    Rgb rgb = ColourOfCode(code);
    return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

} // namespace

FunNamePreview::FunNamePreview(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picFunName"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setAutoFillBackground(true);
    QPalette shades = palette();
    shades.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(shades);
    setMinimumHeight(fontMetrics().height() + 8);
}

void FunNamePreview::DrawFunName(const QString& funName)
{
    m_runs = FunNameRuns(funName.toStdString());
    update();
}

QSize FunNamePreview::sizeHint() const
{
    return {200, fontMetrics().height() + 8};
}

void FunNamePreview::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font());
    qreal x = 4;
    qreal baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    for (const ColouredRun& run : m_runs) {
        QColor colour = ColourOf(run.Colour, palette());
        // Light colours get a black edge, dark ones a white edge.
        float luminance =
            0.2126f * colour.redF() + 0.7152f * colour.greenF() + 0.0722f * colour.blueF();
        QColor outline = luminance > 0.4f ? Qt::black : Qt::white;
        QPainterPath path;
        path.addText(x, baseline, font(), QString::fromStdString(run.Text));
        painter.strokePath(path, QPen(outline, 2.0));
        painter.fillPath(path, colour);
        x += metrics.horizontalAdvance(QString::fromStdString(run.Text));
    }
}

} // namespace twl
