// Small helpers for the widget tests of the SNMP pages: page switching, "&Update", pane lines and
// reading the stand-in's current values.
#pragma once

#include "app/Main_Unit.h"
#include "ui/PaneText.h"
#include "sim/RouterSim.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <ostream>
#include <string>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pagetest {

inline QWidget* page(TMainForm& form, const char* name) {
    return form.w<QWidget>(name);
}

// Makes the page current the way the user does (the dispatch refreshes it).
inline void showPage(TMainForm& form, const char* name) {
    form.pageControl()->setCurrentWidget(page(form, name));
}

inline void pressUpdate(TMainForm& form) {
    form.w<QPushButton>("GetValues_But")->click();
}

inline QLabel* label(TMainForm& form, const char* pageName, const char* labelName) {
    return form.w<QLabel>(labelName, page(form, pageName));
}

inline QString text(TMainForm& form, const char* pageName, const char* labelName) {
    QLabel* l = label(form, pageName, labelName);
    return l ? l->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(labelName));
}

inline QStringList lines(TMainForm& form, const char* paneName) {
    auto* pane = form.w<QPlainTextEdit>(paneName);
    return pane ? paneLines(*pane) : QStringList{QStringLiteral("<no pane>")};
}

inline QString helpKeyword(TMainForm& form, const char* widgetName) {
    QObject* o = form.w<QObject>(widgetName);
    return o ? o->property("helpKeyword").toString() : QString();
}

// The stand-in's value text now (counters advanced to now).
inline QString routerValue(const sim::Router& router, const std::string& oid) {
    const auto v = router.get(oid);
    return v ? QString::fromStdString(v->second) : QString();
}

} // namespace pagetest
