// The modal directory chooser for the event-log directory: a tree rooted at "/", its choice written
// into the main window's directory edit by "OK" or a double click.
#pragma once

#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

class TDirForm : public QDialog {
    Q_OBJECT
public:
    // target: the main window's event-log directory edit, read when shown and written on a choice.
    explicit TDirForm(QLineEdit& target, QWidget* parent = nullptr);

    QString directory() const; // the tree's current directory

    void FormShow();
    void DirectoryTreeViewItemClick();
    void DirectoryTreeViewItemDoubleClick();
    void Choose_ButClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool setDirectory(const QString& path); // false when the tree rejects it
    void choose();

    QLineEdit& m_target;
    QFileSystemModel* m_model;
    // The view keeps the current directory in sight while the model is still reading and sorting
    // the directories around it, until the user scrolls.
    bool m_followCurrent = true;
    void followCurrent();
    QTreeView* DirectoryTreeView;
    QLineEdit* Dir_Edit;
    QPushButton* Choose_But;
};
