// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Sliders.h"

#include "dialogs/TabPages.h"
#include "editing/PageTables.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

namespace twl {

namespace {

// A slider that leaves Ctrl+PageUp and Ctrl+PageDown to the page around it
// (which does nothing with them): they step tabs elsewhere, and must not
// change a value here by surprise.
class PageSlider : public QSlider
{
public:
    using QSlider::QSlider;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (TabPages::IsRefusedPageKey(*event)) {
            event->ignore();
            return;
        }
        QSlider::keyPressEvent(event);
    }

    // The style draws the ticks of a slider with the focus (or under the
    // mouse) in another colour than the rest; here every slider's ticks
    // are drawn alike, in the window's mid tone.
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
        style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
        if (tickPosition() == NoTicks || tickInterval() <= 0) {
            return;
        }
        const int handle = style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
        const int tickLength = style()->pixelMetric(QStyle::PM_SliderTickmarkOffset, &option, this);
        painter.setPen(palette().color(QPalette::Active, QPalette::Mid));
        for (int value = minimum(); value <= maximum(); value += tickInterval()) {
            int x = QStyle::sliderPositionFromValue(
                        minimum(), maximum(), value, width() - handle, invertedAppearance()) +
                    handle / 2;
            // The end ticks are a little shorter, as the style draws them.
            int shorter = value == minimum() || value == maximum() ? 1 : 2;
            painter.drawLine(x, height() - 1 - shorter, x, height() - tickLength);
        }
    }
};

QSlider* MakeSlider(QWidget* parent, const QString& name)
{
    auto* slider = new PageSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    // Dragging shows the values live; the position is reported on release.
    slider->setTracking(false);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setMinimumWidth(120);
    return slider;
}

QLabel* MakeValueLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for "1000" and "0.35" in bold, so the sliders line up.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    return label;
}

void ApplyRange(QSlider* slider, const SliderRange& range)
{
    QSignalBlocker block(slider);
    slider->setRange(0, range.Positions);
    slider->setSingleStep(range.SmallChange);
    slider->setPageStep(range.LargeChange);
    slider->setTickInterval(range.TickEvery);
}

void Place(QSlider* slider, int position)
{
    QSignalBlocker block(slider);
    slider->setValue(position);
    slider->setSliderPosition(position);
}

QString Shown(double value, const SliderRange& range)
{
    return QString::fromStdString(DisplayText(value, range.TwoDecimals));
}

// A value beyond the slider's scale (700 on a scale of 0 to 400) pins the
// knob at an end: its value is set in italics, and both say why.
void MarkPastScale(QLabel* label, QSlider* slider, double value, int max)
{
    bool past = max > 0 && (value > max || value < 0);
    QFont font = label->font();
    font.setItalic(past);
    label->setFont(font);
    QString why;
    if (past) {
        why = QStringLiteral("%1 lies beyond this slider's scale of 0 to %2, so the knob stands "
                             "at its %3 end. The value is kept as it is until the knob is moved.")
                  .arg(label->text())
                  .arg(max)
                  .arg(value < 0 ? QStringLiteral("lower") : QStringLiteral("upper"));
        if (max == 400 || max == 600) {
            why += QStringLiteral(" A larger \"Max. value\" below the sliders widens the scale.");
        }
    }
    label->setToolTip(why);
    slider->setToolTip(why);
}

} // namespace

OneSlider::OneSlider(QWidget* parent)
    : QWidget(parent)
    , m_caption(new QLabel(this))
    , m_valueLabel(MakeValueLabel(this, QStringLiteral("lblValue")))
    , m_slider(MakeSlider(this, QStringLiteral("sliValue")))
{
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setVerticalSpacing(0);
    layout->addWidget(m_caption, 0, 1);
    layout->addWidget(m_valueLabel, 1, 0);
    layout->addWidget(m_slider, 1, 1);
    layout->setColumnStretch(1, 1);
    connect(m_slider, &QSlider::sliderMoved, this, &OneSlider::Moved);
    connect(m_slider, &QSlider::valueChanged, this, &OneSlider::Committed);
    connect(m_slider, &QSlider::sliderReleased, this, &OneSlider::Committed);
    ShowValue(0.0);
}

void OneSlider::SetMax(int max)
{
    std::optional<SliderRange> range = RangeFor(SliderKind::OneValue, max);
    if (!range) {
        return;
    }
    m_max = max;
    m_range = *range;
    ApplyRange(m_slider, m_range);
    m_committed = PositionOf(m_value, m_range);
    Place(m_slider, m_committed);
    ShowValue(m_value);
}

void OneSlider::SetValue(double value)
{
    m_value = value;
    m_committed = PositionOf(value, m_range);
    Place(m_slider, m_committed);
    ShowValue(value);
}

QString OneSlider::Caption() const
{
    return m_caption->text();
}

void OneSlider::SetCaption(const QString& caption)
{
    m_caption->setText(caption);
}

void OneSlider::ShowValue(double value)
{
    m_valueLabel->setText(Shown(value, m_range));
    MarkPastScale(m_valueLabel, m_slider, value, m_max);
}

void OneSlider::Moved(int position)
{
    ShowValue(PositionValue(position, m_range));
}

void OneSlider::Committed()
{
    int position = m_slider->sliderPosition();
    if (position == m_committed) {
        // Dragged and brought back: the value stays what it was.
        ShowValue(m_value);
        return;
    }
    m_committed = position;
    m_value = PositionValue(position, m_range);
    ShowValue(m_value);
    emit ValueChanges(m_value);
}

ThreeSlider::ThreeSlider(QWidget* parent)
    : QWidget(parent)
    , m_caption(new QLabel(this))
{
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setVerticalSpacing(0);
    layout->addWidget(m_caption, 0, 0, 1, 3);
    for (std::size_t l = 0; l < SliderLevels.size(); ++l) {
        QString level = QString::number(SliderLevels[l]);
        int row = static_cast<int>(l) + 1;
        auto* levelLabel = new QLabel(level, this);
        m_sliders[l] = MakeSlider(this, QStringLiteral("sliValue_") + level);
        m_valueLabels[l] = MakeValueLabel(this, QStringLiteral("lblValue_") + level);
        layout->addWidget(levelLabel, row, 0);
        layout->addWidget(m_sliders[l], row, 1);
        layout->addWidget(m_valueLabels[l], row, 2);
        connect(m_sliders[l], &QSlider::sliderMoved, this, [this, l](int position) {
            Moved(l, position);
        });
        connect(m_sliders[l], &QSlider::valueChanged, this, [this, l] { Committed(l); });
        connect(m_sliders[l], &QSlider::sliderReleased, this, [this, l] { Committed(l); });
        m_valueLabels[l]->setText(TextOf(0.0));
    }
    layout->setColumnStretch(1, 1);
}

void ThreeSlider::SetMax(int max)
{
    std::optional<SliderRange> range = RangeFor(SliderKind::ThreeLevels, max);
    if (!range) {
        return;
    }
    m_max = max;
    m_range = *range;
    for (std::size_t l = 0; l < m_sliders.size(); ++l) {
        ApplyRange(m_sliders[l], m_range);
        m_committed[l] = PositionOf(m_values[l], m_range);
        Place(m_sliders[l], m_committed[l]);
        ShowValue(l, m_values[l]);
    }
}

void ThreeSlider::SetValue(int level, double value)
{
    for (std::size_t l = 0; l < SliderLevels.size(); ++l) {
        if (SliderLevels[l] == level) {
            m_values[l] = value;
            m_committed[l] = PositionOf(value, m_range);
            Place(m_sliders[l], m_committed[l]);
            ShowValue(l, value);
        }
    }
}

double ThreeSlider::GetValue(int level) const
{
    for (std::size_t l = 0; l < SliderLevels.size(); ++l) {
        if (SliderLevels[l] == level) {
            return m_values[l];
        }
    }
    return 0.0;
}

QString ThreeSlider::Caption() const
{
    return m_caption->text();
}

void ThreeSlider::SetCaption(const QString& caption)
{
    m_caption->setText(caption);
}

void ThreeSlider::SetZeroIsNo(bool zeroIsNo)
{
    m_zeroIsNo = zeroIsNo;
    for (std::size_t l = 0; l < m_sliders.size(); ++l) {
        ShowValue(l, m_values[l]);
    }
}

void ThreeSlider::ShowValue(std::size_t level, double value)
{
    m_valueLabels[level]->setText(TextOf(value));
    MarkPastScale(m_valueLabels[level], m_sliders[level], value, m_max);
}

QString ThreeSlider::TextOf(double value) const
{
    if (m_zeroIsNo && value == 0.0) {
        return QStringLiteral("No");
    }
    return Shown(value, m_range);
}

std::array<int, 3> ThreeSlider::Positions() const
{
    return {m_sliders[0]->sliderPosition(),
            m_sliders[1]->sliderPosition(),
            m_sliders[2]->sliderPosition()};
}

void ThreeSlider::Moved(std::size_t level, int position)
{
    std::array<int, 3> positions = Positions();
    positions[level] = position;
    positions = LinkLevels(positions, static_cast<int>(level), static_cast<Linking>(m_behaviour));
    for (std::size_t l = 0; l < m_sliders.size(); ++l) {
        if (l != level) {
            Place(m_sliders[l], positions[l]);
        }
        // A level shows its own value until it moves.
        bool moved = positions[l] != m_committed[l] || l == level;
        ShowValue(l, moved ? PositionValue(positions[l], m_range) : m_values[l]);
    }
}

void ThreeSlider::Committed(std::size_t level)
{
    std::array<int, 3> positions =
        LinkLevels(Positions(), static_cast<int>(level), static_cast<Linking>(m_behaviour));
    // The levels carried along report first, the moved one last.
    std::array<std::size_t, 3> order{};
    std::size_t next = 0;
    for (std::size_t l = 0; l < m_sliders.size(); ++l) {
        if (l != level) {
            order[next++] = l;
        }
    }
    order[next] = level;
    for (std::size_t l : order) {
        if (l != level) {
            Place(m_sliders[l], positions[l]);
        }
        if (positions[l] == m_committed[l]) {
            ShowValue(l, m_values[l]);
            continue;
        }
        m_committed[l] = positions[l];
        m_values[l] = PositionValue(positions[l], m_range);
        ShowValue(l, m_values[l]);
        emit ValueChanges(SliderLevels[l], m_values[l]);
    }
}

MaxSelect::MaxSelect(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(new QLabel(QStringLiteral("Max. value"), this));
    for (std::size_t k = 0; k < m_options.size(); ++k) {
        int scale = Scales[k];
        m_options[k] = new QRadioButton(QString::number(scale), this);
        m_options[k]->setObjectName(QStringLiteral("opScale_") + QString::number(k));
        layout->addWidget(m_options[k]);
        connect(
            m_options[k], &QRadioButton::clicked, this, [this, scale] { emit AdjustScale(scale); });
    }
    layout->addStretch(1);
    m_options[0]->setChecked(true);
}

} // namespace twl
