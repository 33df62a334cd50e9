// What a page, monitor or job needs of the frame around the pages: the status line, the help
// keywords, and a parent for its dialogs. The main window implements it; tests may too.
#pragma once

#include <QString>

class QWidget;

// Pages laid out by a layout keep this much free at the bottom: the "&Help" and "&Update" buttons
// and the status line lie over the lower part of the page area.
inline constexpr int kPageBottomMargin = 82;

class PageFrame {
public:
    virtual ~PageFrame() = default;

    virtual void setStatus(const QString& text) = 0; // every text begins with a blank
    virtual QString statusText() const = 0;
    // Sets the help keyword on the page control and the "&Help" button, and on "&Update" when asked.
    virtual void setHelpKeyword(const QString& keyword, bool alsoUpdateButton) = 0;
    virtual QWidget* dialogParent() const = 0;
};
