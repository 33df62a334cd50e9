// The program's help system: viewer registration and keyword dispatch.
#include "windows/core/HelpSystem.h"

namespace {
IHelpSystem* g_programHelpSystem = nullptr;
}

THelpManager::~THelpManager() {
    for (const auto& viewer : m_viewers)
        viewer->Detach();
}

void THelpManager::RegisterHelpViewer(std::shared_ptr<ICustomHelpViewer> viewer) {
    if (!viewer) return;
    viewer->SetViewerId(m_nextId++, this);
    m_viewers.push_back(std::move(viewer));
}

void THelpManager::ShowKeywordHelp(const QString& keyword, const QString& helpFileName) {
    if (!helpFileName.isEmpty()) m_helpFileName = helpFileName;
    if (m_viewers.empty()) return;
    for (const auto& viewer : m_viewers) {
        if (viewer->AcceptKeyword(keyword) > 0) {
            viewer->ShowKeyword(keyword);
            return;
        }
    }
    throw EHelpSystemException(noHelpMessage(keyword));
}

QString THelpManager::noHelpMessage(const QString& keyword) {
    return QStringLiteral("No help found for \"%1\"").arg(keyword);
}

IHelpSystem* programHelpSystem() {
    return g_programHelpSystem;
}
void setProgramHelpSystem(IHelpSystem* system) {
    g_programHelpSystem = system;
}
