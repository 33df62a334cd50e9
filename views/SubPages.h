// A page's sub-pages: their tab control, the help keyword of each, and the handler of a sub-page
// change, which a page destroyed before its widgets no longer hears.
#pragma once

#include "ui/PageFrame.h"

#include <QMetaObject>

#include <functional>
#include <span>
#include <string_view>

class QTabWidget;
class QWidget;

class SubPages {
public:
    // Makes the tab control `objectName` on `page`. `keywords` holds each sub-page's help keyword,
    // the first being the page's own.
    SubPages(QWidget* page, const char* objectName, std::span<const std::string_view> keywords,
             PageFrame& frame);
    ~SubPages();
    SubPages(const SubPages&) = delete;
    SubPages& operator=(const SubPages&) = delete;

    QTabWidget* tabs() const { return m_tabs; }
    // From now on (the sub-pages added) `changed` runs at every sub-page change while this lives.
    void onChange(std::function<void()> changed);
    // The help keyword of the sub-page shown now (an index without one changes nothing).
    void showHelp() const;
    // A page just switched to opens on its first sub-page, with the page's help keyword.
    void openFirst() const;

private:
    QTabWidget* m_tabs;
    std::span<const std::string_view> m_keywords;
    PageFrame& m_frame;
    QMetaObject::Connection m_changed;
};
