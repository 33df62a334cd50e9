// The directory chooser: the tree, the display edit and the choice.
#include "windows/Dir_Unit.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

TDirForm::TDirForm(QLineEdit& target, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_target(target) {
    setObjectName(QStringLiteral("DirForm"));
    setWindowTitle(QStringLiteral("Choose directory"));
    QFont f(QStringLiteral("adobe-helvetica"));
    f.setPixelSize(13); // 13 pixels high, as the main window's font
    setFont(f);
    resize(339, 283);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QStringLiteral("/"));
    DirectoryTreeView = new QTreeView(this);
    DirectoryTreeView->setObjectName(QStringLiteral("DirectoryTreeView"));
    DirectoryTreeView->setModel(m_model);
    DirectoryTreeView->setRootIndex(m_model->index(QStringLiteral("/")));
    for (int column = 1; column < m_model->columnCount(); ++column)
        DirectoryTreeView->hideColumn(column);
    DirectoryTreeView->header()->hide();
    DirectoryTreeView->setMinimumHeight(233);
    Dir_Edit = new QLineEdit(this);
    Dir_Edit->setObjectName(QStringLiteral("Dir_Edit"));
    Choose_But = new QPushButton(QStringLiteral("&OK"), this);
    Choose_But->setObjectName(QStringLiteral("Choose_But"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Dir_Edit);
    bottom->addWidget(Choose_But);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 4);
    rows->addWidget(DirectoryTreeView);
    rows->addLayout(bottom);

    connect(DirectoryTreeView, &QTreeView::clicked, this, &TDirForm::DirectoryTreeViewItemClick);
    connect(DirectoryTreeView, &QTreeView::doubleClicked, this, &TDirForm::DirectoryTreeViewItemDoubleClick);
    connect(Choose_But, &QPushButton::clicked, this, &TDirForm::Choose_ButClick);
    // The model reads and sorts directories in the background, which moves the current row.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &TDirForm::followCurrent);
    connect(m_model, &QFileSystemModel::layoutChanged, this, &TDirForm::followCurrent);
    connect(m_model, &QFileSystemModel::rowsInserted, this, &TDirForm::followCurrent);
    connect(DirectoryTreeView->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { m_followCurrent = false; });
    setDirectory(QStringLiteral("/"));
}

QString TDirForm::directory() const {
    return m_model->filePath(DirectoryTreeView->currentIndex());
}

bool TDirForm::setDirectory(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir()) return false;
    const QModelIndex index = m_model->index(info.absoluteFilePath());
    if (!index.isValid()) return false;
    DirectoryTreeView->setCurrentIndex(index);
    DirectoryTreeView->scrollTo(index);
    return true;
}

void TDirForm::followCurrent() {
    if (m_followCurrent) DirectoryTreeView->scrollTo(DirectoryTreeView->currentIndex());
}

void TDirForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TDirForm::FormShow() {
    m_followCurrent = true;
    if (!setDirectory(m_target.text())) setDirectory(qEnvironmentVariable("HOME"));
    Dir_Edit->setText(directory());
    DirectoryTreeView->setFocus();
}

void TDirForm::DirectoryTreeViewItemClick() {
    Dir_Edit->setText(directory());
}

void TDirForm::DirectoryTreeViewItemDoubleClick() {
    choose();
}

void TDirForm::Choose_ButClick() {
    choose();
}

void TDirForm::choose() {
    m_target.setText(directory());
    accept();
}
