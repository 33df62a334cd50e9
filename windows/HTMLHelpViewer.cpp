// The program's help viewer: keyword acceptance by the directory rule and the help window it drives.
#include "windows/HTMLHelpViewer.h"

#include "windows/HTMLHelp_Unit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

// Installed layout: <prefix>/bin/kestrune beside <prefix>/share/kestrune/help/.
QStringList installedDataDirs(const QString& executableDir) {
    return {QDir::cleanPath(executableDir + QStringLiteral("../share/kestrune")) + QLatin1Char('/')};
}

} // namespace

THTMLHelpViewer::THTMLHelpViewer() : m_locations(&THTMLHelpViewer::programLocations) {}
THTMLHelpViewer::~THTMLHelpViewer() = default;

helpcore::HelpLocations THTMLHelpViewer::programLocations(const QString& helpFileName) {
    return locationsFor(helpFileName, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

helpcore::HelpLocations THTMLHelpViewer::locationsFor(const QString& helpFileName,
                                                      const QString& executableDir) {
    helpcore::HelpLocations where;
    where.helpFileName = helpFileName;
    where.executableDir = executableDir;
    where.pwd = qEnvironmentVariable("PWD");
    where.currentDir = QDir::currentPath();
    where.dataDirs = installedDataDirs(where.executableDir);
    return where;
}

helpcore::HelpLocations THTMLHelpViewer::locations() const {
    return m_locations(m_manager ? m_manager->HelpFileName() : QString());
}

QString THTMLHelpViewer::ViewerName() const {
    return QStringLiteral("HTML Help Viewer");
}

int THTMLHelpViewer::AcceptKeyword(const QString& keyword) {
    const auto target = helpcore::resolveKeyword(keyword, locations(), &isFile);
    if (!target) return 0;
    m_pagePath = target->pagePath;
    m_anchor = target->anchor;
    return 1;
}

QStringList THTMLHelpViewer::KeywordPages(const QString&) const {
    return {m_anchor.isEmpty() ? m_pagePath : m_pagePath + QLatin1Char('#') + m_anchor};
}

bool THTMLHelpViewer::HasContentsPage() const {
    return helpcore::resolveHelpFile(locations(), &isFile).has_value();
}

void THTMLHelpViewer::ShowContentsPage() {
    if (const auto path = helpcore::resolveHelpFile(locations(), &isFile)) showPage(*path, {});
}

void THTMLHelpViewer::ShowKeyword(const QString&) {
    showPage(m_pagePath, m_anchor);
}

void THTMLHelpViewer::SetViewerId(int id, IHelpManager* manager) {
    m_viewerId = id;
    m_manager = manager;
}

void THTMLHelpViewer::Detach() {
    if (m_window) m_window->close();
    m_manager = nullptr;
}

void THTMLHelpViewer::Finish() {}

TFormHTMLHelpViewer& THTMLHelpViewer::window() {
    if (!m_window) m_window = std::make_unique<TFormHTMLHelpViewer>();
    return *m_window;
}

void THTMLHelpViewer::showPage(const QString& pagePath, const QString& anchor) {
    window().showPage(pagePath, anchor);
}
