// The help window: a small browser over the program's help pages with Contents, Home, back and forward.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

class TFormHTMLHelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit TFormHTMLHelpViewer(QWidget* parent = nullptr);

    // Loads a page file, scrolled to the anchor when one is given, and shows the window.
    void showPage(const QString& pagePath, const QString& anchor);
    QTextBrowser* browser() const { return m_browser; }

    void Contents_ButClick();
    void Home_ButClick();
    void Back_ButClick();
    void Forward_ButClick();
    void Close_ButClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* addButton(const char* name, const QString& caption, void (TFormHTMLHelpViewer::*handler)());
    void placeOnFirstShow();

    QTextBrowser* m_browser = nullptr;
    QPushButton* m_contents = nullptr;
    bool m_placed = false;
};
