// The program's help system: callers ask it for a keyword, it hands the request to a registered viewer.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <vector>

// What a viewer may ask of the help system.
class IHelpManager {
public:
    virtual ~IHelpManager() = default;
    virtual QString HelpFileName() const = 0;
};

// A help viewer, as the help system sees it.
class ICustomHelpViewer {
public:
    virtual ~ICustomHelpViewer() = default;
    virtual QString ViewerName() const = 0;
    // Number of pages the viewer can show for the keyword (0: none).
    virtual int AcceptKeyword(const QString& keyword) = 0;
    virtual QStringList KeywordPages(const QString& keyword) const = 0;
    virtual bool HasContentsPage() const = 0;
    virtual void ShowContentsPage() = 0;
    virtual void ShowKeyword(const QString& keyword) = 0;
    virtual void SetViewerId(int id, IHelpManager* manager) = 0;
    virtual void Detach() = 0;
    virtual void Finish() = 0;
};

// Raised when no viewer can show a keyword; what() is the message shown to the user.
class EHelpSystemException : public std::runtime_error {
public:
    explicit EHelpSystemException(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// What callers may ask of the help system.
class IHelpSystem {
public:
    virtual ~IHelpSystem() = default;
    virtual void RegisterHelpViewer(std::shared_ptr<ICustomHelpViewer> viewer) = 0;
    // Throws EHelpSystemException when viewers are registered and none accepts the keyword.
    virtual void ShowKeywordHelp(const QString& keyword, const QString& helpFileName) = 0;
};

class THelpManager : public IHelpSystem, public IHelpManager {
public:
    THelpManager() = default;
    ~THelpManager() override; // detaches every viewer
    THelpManager(const THelpManager&) = delete;
    THelpManager& operator=(const THelpManager&) = delete;

    void RegisterHelpViewer(std::shared_ptr<ICustomHelpViewer> viewer) override;
    void ShowKeywordHelp(const QString& keyword, const QString& helpFileName) override;
    QString HelpFileName() const override { return m_helpFileName; }
    void setHelpFileName(const QString& name) { m_helpFileName = name; }

    static QString noHelpMessage(const QString& keyword);

private:
    std::vector<std::shared_ptr<ICustomHelpViewer>> m_viewers;
    int m_nextId = 1;
    QString m_helpFileName;
};

// The program's one help system (set by whoever owns it for the run; null before and after).
IHelpSystem* programHelpSystem();
void setProgramHelpSystem(IHelpSystem* system);
