// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/FunName.h"

#include <QWidget>

#include <vector>

namespace twl {

// The fun name as the game colours it: each character drawn right after the
// previous one, in the application's font in bold, on a grey on which all
// eight colours, black and white too, stand out (each character gets a thin
// outline of black or white, whichever differs more from its colour). A name
// longer than the preview ends in "…" and is shown whole as its tooltip.
class FunNamePreview : public QWidget
{
    Q_OBJECT

public:
    explicit FunNamePreview(QWidget* parent = nullptr);

    // Clears the preview and draws `funName`.
    void DrawFunName(const QString& funName);

    const std::vector<ColouredRun>& Runs() const { return m_runs; }

    QSize sizeHint() const override;

    // True when the name is longer than the preview is wide.
    bool IsCut() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowWholeNameAsTip();

    std::vector<ColouredRun> m_runs;
};

} // namespace twl
