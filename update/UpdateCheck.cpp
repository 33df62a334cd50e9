// The Help menu's update check: fetch the version file, compare, tell the user.
#include "update/UpdateCheck.h"

#include "net/core/HttpMessage.h"
#include "net/core/ProgramVersion.h"
#include "ui/UiSeam.h"
#include "update/VersionFetch.h"
#include "update/core/UpdateCheck.h"

#include <QAction>

namespace {

// Disables the item while a check runs; enabled again on every way out.
class Running {
public:
    Running(bool& flag, QAction* item) : m_flag(flag), m_item(item) {
        m_flag = true;
        if (m_item) m_item->setEnabled(false);
    }
    ~Running() {
        m_flag = false;
        if (m_item) m_item->setEnabled(true);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& m_flag;
    QAction* m_item;
};

} // namespace

UpdateCheck::UpdateCheck(QWidget* dialogParent, QAction* item, const HttpSettings& http,
                         std::function<void()> idle, std::string version)
    : m_parent(dialogParent), m_item(item), m_http(http), m_idle(std::move(idle)),
      m_version(std::move(version)) {}

void UpdateCheck::run() {
    if (m_running) return;
    Running running(m_running, m_item);
    fetchAndTell();
}

void UpdateCheck::fetchAndTell() {
    UiSeam::BusyCursor cursor;
    const VersionFetchResult fetched = FetchVersionFile(m_http, m_idle, updatecheck::kMaxVersionFileBytes);
    updatecheck::Verdict verdict;
    if (fetched.ok)
        verdict = updatecheck::verdictFor(fetched.body, m_version);
    else if (fetched.error == http::kTooLargeText)
        verdict = {true, updatecheck::kTooLargeText};
    else
        verdict = {true, fetched.error};
    cursor.restore(); // the message waits on the user: the normal cursor over it
    const QString text = QString::fromStdString(verdict.text);
    if (verdict.error)
        UiSeam::error(m_parent, text); // the general error report
    else
        UiSeam::information(m_parent, QString::fromLatin1(program::kName), text);
}
