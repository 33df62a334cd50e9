// The program's help viewer: accepts keywords whose page file exists and shows them in the help window.
#pragma once

#include "windows/core/HelpKeyword.h"
#include "windows/core/HelpSystem.h"

#include <functional>
#include <memory>

class TFormHTMLHelpViewer;

class THTMLHelpViewer : public ICustomHelpViewer {
public:
    THTMLHelpViewer();
    ~THTMLHelpViewer() override;

    QString ViewerName() const override;
    int AcceptKeyword(const QString& keyword) override;
    QStringList KeywordPages(const QString& keyword) const override;
    bool HasContentsPage() const override;
    void ShowContentsPage() override;
    void ShowKeyword(const QString& keyword) override;
    void SetViewerId(int id, IHelpManager* manager) override;
    void Detach() override;
    void Finish() override;

    // The help window, created on first use.
    TFormHTMLHelpViewer& window();
    bool hasWindow() const { return m_window != nullptr; }
    int viewerId() const { return m_viewerId; }

    // Where the pages are looked for, taken afresh at every request; tests replace it.
    using LocationsSource = std::function<helpcore::HelpLocations(const QString& helpFileName)>;
    void setLocationsSource(LocationsSource source) { m_locations = std::move(source); }
    // The running program's locations: its directory, PWD, and the installed data directories.
    static helpcore::HelpLocations programLocations(const QString& helpFileName);
    // The same for a program whose executable lies in executableDir (with a trailing '/').
    static helpcore::HelpLocations locationsFor(const QString& helpFileName, const QString& executableDir);

private:
    helpcore::HelpLocations locations() const;
    void showPage(const QString& pagePath, const QString& anchor);

    int m_viewerId = 0;
    IHelpManager* m_manager = nullptr;
    QString m_pagePath;
    QString m_anchor;
    LocationsSource m_locations;
    std::unique_ptr<TFormHTMLHelpViewer> m_window;
};
