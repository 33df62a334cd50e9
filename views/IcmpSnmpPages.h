// ICMP and SNMP pages: grids of the icmp and snmp group counters.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"
#include "views/StatsGrid.h"

#include <QString>

#include <span>
#include <string_view>
#include <vector>

class QLabel;
class QWidget;

struct CounterPageWidgets {
    std::vector<QLabel*> values; // in reading order
};

// A page of counters read one get each, in order; only the first read failing is reported.
class CounterPage {
public:
    CounterPage(const CounterPage&) = delete;
    CounterPage& operator=(const CounterPage&) = delete;

    const CounterPageWidgets& widgets() const { return m_ui; }

    void refresh();

protected:
    // `shown` turns the value read for item `index` into its label's text.
    using Shown = QString (*)(std::size_t index, const QString& value);
    CounterPage(RouterSession& session, PageFrame& frame, std::span<const statsgrid::Item> items,
                std::string_view helpKeyword, Shown shown);
    ~CounterPage() = default;

    CounterPageWidgets m_ui;

private:
    RouterSession& m_session;
    PageFrame& m_frame;
    std::span<const statsgrid::Item> m_items;
    std::string_view m_helpKeyword;
    Shown m_shown;
};

class IcmpPage : public CounterPage {
public:
    // Builds the page's widgets into `page`: In counters on the left, Out counters on the right.
    IcmpPage(QWidget* page, RouterSession& session, PageFrame& frame);
};

class SnmpPage : public CounterPage {
public:
    // Builds the page's widgets into `page`, in the columns of the design (not the reading order).
    SnmpPage(QWidget* page, RouterSession& session, PageFrame& frame);
};
