// The program's help for its whole run, and the help requests of the main window.
#include "windows/ProgramHelp.h"

#include "ui/UiSeam.h"
#include "windows/core/HelpKeywords.h"

ProgramHelp::ProgramHelp(const QString& helpFileName) : m_viewer(std::make_shared<THTMLHelpViewer>()) {
    m_manager.setHelpFileName(helpFileName);
    m_manager.RegisterHelpViewer(m_viewer);
    setProgramHelpSystem(&m_manager);
}

ProgramHelp::~ProgramHelp() {
    if (programHelpSystem() == &m_manager) setProgramHelpSystem(nullptr);
}

namespace help {

bool showKeyword(QWidget* parent, const QString& keyword, const QString& helpFileName) {
    IHelpSystem* system = programHelpSystem();
    if (!system) return false;
    try {
        system->ShowKeywordHelp(keyword, helpFileName);
        return true;
    } catch (const EHelpSystemException& e) {
        UiSeam::error(parent, e.message());
        return false;
    }
}

bool show(QWidget* parent, const QString& keyword) {
    return showKeyword(parent, keyword, keyword);
}
bool showContents(QWidget* parent) {
    return show(parent, helpkw::text(helpkw::HelpFile));
}
bool showTopicIndex(QWidget* parent) {
    return show(parent, helpkw::text(helpkw::Index));
}

} // namespace help
