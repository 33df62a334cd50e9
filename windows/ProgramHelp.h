// The program's help for its whole run, and the calls the main window makes to show a help page.
#pragma once

#include "windows/HTMLHelpViewer.h"
#include "windows/core/HelpSystem.h"

#include <QString>

#include <memory>

class QWidget;

// Owns the help system and its one viewer; while it lives it is the program's help system.
class ProgramHelp {
public:
    explicit ProgramHelp(const QString& helpFileName);
    ~ProgramHelp();
    ProgramHelp(const ProgramHelp&) = delete;
    ProgramHelp& operator=(const ProgramHelp&) = delete;

    // Creates the help window now (it starts hidden) rather than on the first request.
    TFormHTMLHelpViewer& createWindow() { return m_viewer->window(); }
    THelpManager& manager() { return m_manager; }
    THTMLHelpViewer& viewer() { return *m_viewer; }

private:
    THelpManager m_manager;
    std::shared_ptr<THTMLHelpViewer> m_viewer;
};

namespace help {

// Shows the page of a keyword through the program's help system; a keyword that names no page is
// reported in a message box. Returns whether a page is shown.
bool showKeyword(QWidget* parent, const QString& keyword, const QString& helpFileName);
// The same, with the keyword as its own help file name (the "&Help" button and the Help menu items).
bool show(QWidget* parent, const QString& keyword);
bool showContents(QWidget* parent);   // Help menu "&Contents" and "&How to Use Help"
bool showTopicIndex(QWidget* parent); // Help menu "&Search for Help On..."

} // namespace help
