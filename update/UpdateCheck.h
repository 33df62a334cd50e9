// The Help menu's update check: fetch the version file, compare, tell the user; one check at a time,
// its menu item disabled and the busy cursor shown while it runs.
#pragma once

#include "net/HttpClient.h"

#include <functional>
#include <string>

class QAction;
class QWidget;

class UpdateCheck {
public:
    // item: the menu item that starts the check; http: the client's settings, read at each check (they
    // outlive the check); idle runs while the fetch waits; version: the program's own.
    UpdateCheck(QWidget* dialogParent, QAction* item, const HttpSettings& http, std::function<void()> idle,
                std::string version);
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Runs the check and returns once its message is closed; a call while one runs does nothing.
    void run();
    bool running() const { return m_running; }

private:
    void fetchAndTell();

    QWidget* m_parent;
    QAction* m_item;
    const HttpSettings& m_http;
    std::function<void()> m_idle;
    std::string m_version;
    bool m_running = false;
};
