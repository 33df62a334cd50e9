// The frame around a page built alone: it records the status line and every help keyword the page
// sets, in order.
#pragma once

#include "ui/PageFrame.h"

#include <QString>

#include <utility>
#include <vector>

class RecordingFrame : public PageFrame {
public:
    void setStatus(const QString& text) override { status = text; }
    QString statusText() const override { return status; }
    void setHelpKeyword(const QString& keyword, bool alsoUpdateButton) override {
        keywords.emplace_back(keyword, alsoUpdateButton);
    }
    QWidget* dialogParent() const override { return nullptr; }

    // The last keyword set, and whether it went to "&Update" too.
    QString helpKeyword() const { return keywords.empty() ? QString() : keywords.back().first; }
    bool updateKeyword() const { return !keywords.empty() && keywords.back().second; }

    QString status;
    std::vector<std::pair<QString, bool>> keywords;
};
