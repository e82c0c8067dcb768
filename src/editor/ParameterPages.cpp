// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ParameterPages.h"

#include "core/ValueFormat.h"
#include "editing/PageTables.h"
#include "editor/Sliders.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QScrollArea>
#include <QStringList>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace twl {

namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// Tabs with less room beside their captions, so that all eight fit beside
// the general properties on a 1280-pixel screen.
class NarrowTabs : public QProxyStyle
{
public:
    explicit NarrowTabs(QStyle* base)
        : QProxyStyle(base->name())
    {}

    int pixelMetric(PixelMetric metric,
                    const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override
    {
        int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

double NumberOf(const Value& value)
{
    return value.ToNumber().value_or(0.0);
}

} // namespace

ParameterPages::ParameterPages(BotEditor& editor, QWidget* parent)
    : TabPages(parent)
    , m_editor(editor)
{
    setObjectName(QStringLiteral("tbsBotPara"));
    for (int page = 0; page < PageCount; ++page) {
        BuildPage(page);
    }
    // Every caption stays whole; where the window is too narrow for all
    // eight tabs (1024 pixels), the tab strip scrolls.
    tabBar()->setUsesScrollButtons(true);
    tabBar()->setElideMode(Qt::ElideNone);
    tabBar()->setStyle(new NarrowTabs(tabBar()->style()));
    connect(this, &QTabWidget::currentChanged, this, &ParameterPages::EnableSelectedPage);
    EnableSelectedPage(currentIndex());
}

void ParameterPages::BuildPage(int page)
{
    const PageLayout& layout = Pages()[static_cast<std::size_t>(page)];
    // The page scrolls when the screen is too small to show it whole.
    auto* scroll = new QScrollArea();
    scroll->setObjectName(QStringLiteral("picParameters_") + QString::number(page));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget();
    auto* pageLayout = new QVBoxLayout(content);
    auto* frames = new QHBoxLayout();
    // The chat page's frame takes the page's whole height; the others take
    // most of the height they are given, their rows spreading out.
    pageLayout->addLayout(frames, page == ChatTextsPage ? 1 : 3);

    std::vector<QGridLayout*> grids;
    for (const std::string& caption : layout.FrameCaptions) {
        auto* frame = new QGroupBox(Text(caption), content);
        auto* grid = new QGridLayout(frame);
        grid->setHorizontalSpacing(12);
        frames->addWidget(frame, 1);
        grids.push_back(grid);
        if (page == ChatTextsPage) {
            m_chatFrame = frame;
        }
        if (layout.ScaleGroup >= 0) {
            m_weightFrames[page] = frame;
        }
    }
    // Row labels take column 0 of the grid when the page has them.
    int firstColumn = layout.RowLabels.empty() ? 0 : 1;
    for (std::size_t row = 0; row < layout.RowLabels.size(); ++row) {
        auto* label = new QLabel(Text(layout.RowLabels[row]));
        if (row < layout.RowTips.size()) {
            label->setToolTip(Text(layout.RowTips[row]));
        }
        grids[0]->addWidget(label, static_cast<int>(row), 0, Qt::AlignBottom);
    }

    for (const ThreeSliderLayout& slider : ThreeSliders()) {
        if (slider.Place.Page != page) {
            continue;
        }
        auto* control = new ThreeSlider();
        control->setObjectName(QStringLiteral("tsBotPara_") + QString::number(slider.Index));
        control->SetCaption(Text(SliderCaption(slider.Name, slider.Max)));
        control->SetMax(slider.Max);
        control->SetSlideBehaviour(static_cast<int>(slider.Link));
        control->SetZeroIsNo(slider.ZeroIsNo);
        control->SetIndexS(slider.Index);
        grids[static_cast<std::size_t>(slider.Place.Frame)]->addWidget(
            control, slider.Place.Row, firstColumn + slider.Place.Column, Qt::AlignBottom);
        m_threeSliders[slider.Index] = control;
        connect(control, &ThreeSlider::ValueChanges, this, [this, control](int level, double v) {
            m_editor.SetSkillValue(level, control->IndexS(), v);
        });
    }
    for (const OneSliderLayout& slider : OneSliders()) {
        if (slider.Place.Page != page) {
            continue;
        }
        auto* control = new OneSlider();
        control->setObjectName(QStringLiteral("osBotPara_") + QString::number(slider.Index));
        control->SetCaption(Text(SliderCaption(slider.Name, slider.Max)));
        control->SetMax(slider.Max);
        control->SetIndexS(slider.Index);
        grids[static_cast<std::size_t>(slider.Place.Frame)]->addWidget(
            control, slider.Place.Row, firstColumn + slider.Place.Column, Qt::AlignBottom);
        m_oneSliders[slider.Index] = control;
        m_oneCaptions[slider.Index] = control->Caption();
        m_oneTips[slider.Index] = Text(SliderTip(slider));
        control->setToolTip(m_oneTips[slider.Index]);
        connect(control, &OneSlider::ValueChanges, this, [this, control](double v) {
            bool differed = m_editor.ThisBot().DiffersPerSkill(control->IndexS());
            m_editor.SetOneValue(control->IndexS(), v);
            if (differed) {
                ShowLevelNote(control->IndexS());
            }
        });
    }
    for (QGridLayout* grid : grids) {
        if (page == ChatTextsPage) {
            break;
        }
        for (int column = firstColumn; column < grid->columnCount(); ++column) {
            grid->setColumnStretch(column, 1);
        }
        // Room to spare goes between the rows (the controls sit at the
        // bottom of theirs); the pairs of the pickup page ("Without" over
        // "With") stay together.
        for (int row = 0; row < grid->rowCount(); ++row) {
            bool pairBelow = !layout.RowLabels.empty() && row % 2 == 1;
            grid->setRowStretch(row, row == 0 || pairBelow ? 0 : 1);
        }
    }
    if (layout.ScaleGroup >= 0) {
        auto* selector = new MaxSelect(content);
        selector->setObjectName(QStringLiteral("mseSelect_") + QString::number(layout.ScaleGroup));
        int group = layout.ScaleGroup;
        connect(selector, &MaxSelect::AdjustScale, this, [this, group](int scale) {
            AdjustScale(group, scale);
        });
        grids[0]->addWidget(selector, grids[0]->rowCount(), 0, 1, grids[0]->columnCount());
        m_scaleSelectors[static_cast<std::size_t>(group)] = selector;
    }
    if (!layout.Legend.empty()) {
        auto* legend = new QLabel(Text(layout.Legend), content);
        legend->setObjectName(QStringLiteral("lblLegend_") + QString::number(page));
        legend->setWordWrap(true);
        pageLayout->addWidget(legend);
    }
    if (layout.ScaleGroup >= 0) {
        auto* note = new QLabel(content);
        note->setObjectName(QStringLiteral("lblKeptWeights_") + QString::number(page));
        note->setWordWrap(true);
        note->hide();
        pageLayout->addWidget(note);
        m_keptNotes[page] = note;
    }
    if (page != ChatTextsPage) {
        pageLayout->addStretch(1);
    }
    scroll->setWidget(content);
    addTab(scroll, Text(layout.TabCaption));
}

QSize ParameterPages::sizeHint() const
{
    QSize largest;
    for (int page = 0; page < count(); ++page) {
        auto* scroll = static_cast<QScrollArea*>(widget(page));
        largest = largest.expandedTo(scroll->widget()->sizeHint());
    }
    QSize tabs = tabBar()->sizeHint();
    // The page's frame and margins around the content.
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    return {std::max(largest.width() + frame, tabs.width() + frame),
            largest.height() + tabs.height() + frame};
}

void ParameterPages::AdjustScale(int group, int scale)
{
    for (const OneSliderLayout& slider : OneSliders()) {
        if (slider.ScaleGroup != group) {
            continue;
        }
        OneSlider* control = m_oneSliders.at(slider.Index);
        control->SetCaption(Text(SliderCaption(slider.Name, scale)));
        control->SetMax(scale);
    }
}

void ParameterPages::EnableSelectedPage(int selected)
{
    for (int page = 0; page < count(); ++page) {
        widget(page)->setEnabled(page == selected);
    }
}

void ParameterPages::SelectNextTab()
{
    setCurrentIndex((currentIndex() + 1) % count());
}

void ParameterPages::ShowBot()
{
    // A weight file of another layout is kept as it is: its page shows why
    // its sliders do not move.
    for (const auto& [page, frame] : m_weightFrames) {
        WeightFileKind kind = Pages()[static_cast<std::size_t>(page)].ScaleGroup == 0
                                  ? WeightFileKind::Weapon
                                  : WeightFileKind::Item;
        bool kept = m_editor.ThisBot().HasForeignWeights(kind);
        frame->setEnabled(!kept);
        QLabel* note = m_keptNotes.at(page);
        note->setVisible(kept);
        std::string file =
            m_editor.ThisBot()
                .BotPara(kind == WeightFileKind::Weapon ? Para::WeaponFile : Para::ItemFile)
                .ToText();
        note->setText(QStringLiteral("The bot's weight file uses a weight layout that Tarnwell "
                                     "does not edit: it is kept as it was loaded and written "
                                     "back unchanged as %1. Make a new bot or load another one "
                                     "to edit these weights.")
                          .arg(Text(file)));
    }
    for (const auto& [index, control] : m_oneSliders) {
        control->SetValue(NumberOf(m_editor.SliderValue(index)));
        ShowLevelNote(index);
    }
    for (const auto& [index, control] : m_threeSliders) {
        for (int level : SliderLevels) {
            control->SetValue(level, NumberOf(m_editor.SliderValue(index, level)));
        }
    }
}

void ParameterPages::ShowLevelNote(int index)
{
    OneSlider* control = m_oneSliders.at(index);
    const Bot& bot = m_editor.ThisBot();
    if (!bot.DiffersPerSkill(index)) {
        control->SetCaption(m_oneCaptions.at(index));
        control->setToolTip(m_oneTips.at(index));
        return;
    }
    QStringList levels;
    for (int level : SliderLevels) {
        const auto& own = bot.Skills("S" + std::to_string(level)).OwnValues;
        auto kept = own.find(index);
        QString value = kept == own.end()        ? Text(FormatValue(bot.BotPara(index)))
                        : kept->second.IsEmpty() ? QStringLiteral("-")
                                                 : Text(FormatValue(kept->second));
        levels << QStringLiteral("%1: %2").arg(level).arg(value);
    }
    control->SetCaption(m_oneCaptions.at(index) + QStringLiteral(" - differs per skill"));
    control->setToolTip(QStringLiteral("The bot's skill levels hold values of their own (%1; "
                                       "-: the game's default bot's). The slider shows one of "
                                       "them; moving it sets all three.")
                            .arg(levels.join(QStringLiteral(", "))));
}

} // namespace twl
