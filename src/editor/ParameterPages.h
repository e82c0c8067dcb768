// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/TabPages.h"
#include "editing/BotEditor.h"
#include "editing/PageTables.h"

#include <array>
#include <map>

class QGroupBox;
class QLabel;

namespace twl {

class MaxSelect;
class OneSlider;
class ThreeSlider;

// The eight tabbed pages of the bot's characteristics and weights, built
// from the page tables: every slider edits its characteristic in the bot
// being edited, and only the page of the selected tab is enabled.
class ParameterPages : public TabPages
{
    Q_OBJECT

public:
    ParameterPages(BotEditor& editor, QWidget* parent = nullptr);

    // Shows the bot's values on every slider (nothing is written back).
    void ShowBot();

    // The frame of the chat page, for the chat editor.
    QGroupBox* ChatFrame() const { return m_chatFrame; }

    // Ctrl+Tab: the next tab, from the last back to the first.
    void SelectNextTab();

    // Room for the largest page without scrolling; the pages scroll only
    // when the screen is smaller than that.
    QSize sizeHint() const override;

    ThreeSlider* ThreeSliderOf(int index) const { return m_threeSliders.at(index); }

    OneSlider* OneSliderOf(int index) const { return m_oneSliders.at(index); }

private:
    // A bot-wide characteristic whose skill levels hold values of their own
    // says so in its caption (the slider shows one of them; moving it sets
    // all three).
    void ShowLevelNote(int index);

public:
private:
    void BuildPage(int page);
    void AdjustScale(int group, int scale);
    void EnableSelectedPage(int selected);

    BotEditor& m_editor;
    std::map<int, ThreeSlider*> m_threeSliders;
    std::map<int, OneSlider*> m_oneSliders;
    std::map<int, QString> m_oneCaptions;
    // What a slider sets, where its caption does not say it.
    std::map<int, QString> m_oneTips;
    std::array<MaxSelect*, ScaleGroupCount> m_scaleSelectors{};
    // The weight pages' frames and the note shown when the bot's weight
    // file is kept as it was loaded (its weights are not edited here).
    std::map<int, QGroupBox*> m_weightFrames;
    std::map<int, QLabel*> m_keptNotes;
    QGroupBox* m_chatFrame = nullptr;
};

} // namespace twl
