// SPDX-License-Identifier: GPL-3.0-or-later
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
    ShowWholeNameAsTip();
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
    const qreal margin = 4;
    qreal x = margin;
    qreal baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    auto draw = [&](const QString& text, const QColor& colour) {
        // Light colours get a black edge, dark ones a white edge.
        float luminance =
            0.2126f * colour.redF() + 0.7152f * colour.greenF() + 0.0722f * colour.blueF();
        QColor outline = luminance > 0.4f ? Qt::black : Qt::white;
        QPainterPath path;
        path.addText(x, baseline, font(), text);
        painter.strokePath(path, QPen(outline, 2.0));
        painter.fillPath(path, colour);
        x += metrics.horizontalAdvance(text);
    };
    const qreal room = width() - 2 * margin;
    const QString ellipsis(QChar(0x2026));
    for (const ColouredRun& run : m_runs) {
        QString text = QString::fromStdString(run.Text);
        QColor colour = ColourOf(run.Colour, palette());
        if (x - margin + metrics.horizontalAdvance(text) <= room) {
            draw(text, colour);
            continue;
        }
        // The name goes on beyond the preview: as much as fits, then "…".
        QString cut = text;
        while (!cut.isEmpty() && x - margin + metrics.horizontalAdvance(cut + ellipsis) > room) {
            cut.chop(1);
        }
        draw(cut + ellipsis, colour);
        break;
    }
}

bool FunNamePreview::IsCut() const
{
    const QFontMetricsF metrics(font());
    qreal length = 0;
    for (const ColouredRun& run : m_runs) {
        length += metrics.horizontalAdvance(QString::fromStdString(run.Text));
    }
    return length > width() - 8;
}

void FunNamePreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ShowWholeNameAsTip();
}

void FunNamePreview::ShowWholeNameAsTip()
{
    QString whole;
    for (const ColouredRun& run : m_runs) {
        whole += QString::fromStdString(run.Text);
    }
    setToolTip(IsCut() ? whole : QString());
}

} // namespace twl
