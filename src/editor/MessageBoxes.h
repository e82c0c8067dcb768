// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

class QWidget;

namespace twl {

// Messages shown as modal message boxes and input boxes over `parent`.
class MessageBoxes : public Messages
{
public:
    explicit MessageBoxes(QWidget* parent = nullptr)
        : m_parent(parent)
    {}

    void SetParent(QWidget* parent) { m_parent = parent; }

    void Inform(const std::string& text, const std::string& title) override;
    void Warn(const std::string& text, const std::string& title) override;
    bool Ask(const std::string& text, const std::string& title) override;
    void Note(const std::string& text) override;
    std::optional<std::string> AskText(const std::string& prompt,
                                       const std::string& title) override;

private:
    QWidget* m_parent;
};

} // namespace twl
