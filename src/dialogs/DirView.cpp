// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/DirView.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace twl {

// The file list's names: whole, or cut before the pattern's ending. Folders
// are left out: the file model keeps the folders on the way to a folder it
// has shown, even with files alone asked for.
class ListedNames : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetCut(bool cut, const QStringList& patterns)
    {
        beginResetModel();
        m_cut = cut;
        m_endings.clear();
        for (const QString& pattern : patterns) {
            m_endings << (pattern.startsWith(QLatin1Char('*')) ? pattern.mid(1) : pattern);
        }
        endResetModel();
    }

    QString Listed(const QString& name) const
    {
        if (!m_cut) {
            return name;
        }
        for (const QString& ending : m_endings) {
            qsizetype at = name.indexOf(ending, 0, Qt::CaseInsensitive);
            if (!ending.isEmpty() && at >= 0) {
                return name.left(at);
            }
        }
        return name;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        QVariant value = QSortFilterProxyModel::data(index, role);
        if (role == Qt::DisplayRole && index.column() == 0) {
            return Listed(value.toString());
        }
        return value;
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        // Only the folders inside the listed folder; those above it hold it.
        auto* files = static_cast<QFileSystemModel*>(sourceModel());
        return !files->isDir(files->index(row, 0, parent)) ||
               QDir::cleanPath(files->filePath(parent)) != QDir::cleanPath(files->rootPath());
    }

public:
    // The file model lists another folder now.
    void RootChanged() { invalidateFilter(); }

private:
    bool m_cut = false;
    QStringList m_endings;
};

namespace {

QString NativePath(const QString& path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

bool IsEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool IsPlainKey(const QKeyEvent& key, int code)
{
    return key.key() == code && key.modifiers() == Qt::NoModifier;
}

} // namespace

DirView::DirView(Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_messages(messages)
    , m_places(new QComboBox(this))
    , m_path(new QLineEdit(this))
    , m_folders(new QTreeView(this))
    , m_files(new QListView(this))
    , m_folderModel(new QFileSystemModel(this))
    , m_fileModel(new QFileSystemModel(this))
    , m_names(new ListedNames(this))
{
    m_places->setObjectName(QStringLiteral("cmbPlaces"));
    m_places->setToolTip(QStringLiteral("Places: the home folder, the root, the game folder and "
                                        "the mounted volumes"));
    m_path->setObjectName(QStringLiteral("txtPath"));
    m_path->setToolTip(QStringLiteral("The current folder. Type a path and press Enter to go "
                                      "there; ~ is the home folder."));
    m_folders->setObjectName(QStringLiteral("tvFolders"));
    m_files->setObjectName(QStringLiteral("lstFiles"));

    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folderModel->setRootPath(QDir::rootPath());
    m_folders->setModel(m_folderModel);
    for (int column = 1; column < m_folderModel->columnCount(); ++column) {
        m_folders->hideColumn(column);
    }
    m_folders->header()->hide();
    m_folders->setRootIndex(m_folderModel->index(QDir::rootPath()));

    // Without QDir::CaseSensitive the patterns match in any case.
    m_fileModel->setFilter(QDir::Files);
    m_fileModel->setNameFilterDisables(false);
    m_names->setSourceModel(m_fileModel);
    m_names->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_names->sort(0);
    m_files->setModel(m_names);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* where = new QHBoxLayout();
    auto* pathLabel = new QLabel(QStringLiteral("&Folder:"), this);
    pathLabel->setBuddy(m_path);
    where->addWidget(pathLabel);
    where->addWidget(m_path, 3);
    m_places->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_places->setMinimumContentsLength(12);
    where->addWidget(m_places, 1);
    layout->addLayout(where);
    auto* lists = new QHBoxLayout();
    lists->addWidget(m_folders, 3);
    lists->addWidget(m_files, 2);
    layout->addLayout(lists, 1);
    setMinimumSize(460, 280);

    FillPlaces(QString());
    connect(m_places, &QComboBox::activated, this, &DirView::PlaceChosen);
    // The current item is followed however it became current: a click, the
    // arrow keys or the first letters of its name.
    connect(m_folders->selectionModel(),
            &QItemSelectionModel::currentChanged,
            this,
            [this](const QModelIndex& index) {
                // Passing over a folder that cannot be read is no error:
                // it shows no files, and a place can still be reached below it.
                if (index.isValid()) {
                    ShowFolder(m_folderModel->filePath(index));
                }
            });
    connect(m_files->selectionModel(),
            &QItemSelectionModel::currentChanged,
            this,
            &DirView::FileBecameCurrent);
    connect(m_files, &QListView::activated, this, [this](const QModelIndex& index) {
        emit FileActivated(index.data(Qt::DisplayRole).toString());
    });
    // The tree is read in the background: the folder is shown once its
    // parents have been read.
    connect(m_folderModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        if (m_folder.startsWith(NativePath(path))) {
            ShowFolderInTree();
        }
    });
    // The model sorts a folder's entries after reading them: the current
    // folder is brought back into sight.
    connect(m_folderModel, &QFileSystemModel::layoutChanged, this, [this] {
        QModelIndex current = m_folders->currentIndex();
        if (current.isValid() && NativePath(m_folderModel->filePath(current)) == m_folder) {
            m_folders->scrollTo(current, QAbstractItemView::PositionAtCenter);
        }
    });
    connect(m_fileModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        if (NativePath(path) == m_folder) {
            if (!m_pendingFile.isEmpty()) {
                SelectFileWhenListed(m_pendingFile);
            }
            emit FilesListed();
        }
    });
    for (QWidget* keys : {static_cast<QWidget*>(m_path),
                          static_cast<QWidget*>(m_folders),
                          static_cast<QWidget*>(m_files)}) {
        keys->installEventFilter(this);
    }
    setTabOrder(m_path, m_places);
    setTabOrder(m_places, m_folders);
    setTabOrder(m_folders, m_files);
}

bool DirView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    // Enter is taken here: it must not also press the dialog's OK.
    if (watched == m_path && IsEnter(key)) {
        GoToTypedPath();
        return true;
    }
    if (watched == m_folders && IsEnter(key)) {
        QModelIndex current = m_folders->currentIndex();
        if (current.isValid()) {
            m_folders->expand(current);
        }
        return true;
    }
    if (watched == m_files && IsEnter(key)) {
        QModelIndex current = m_files->currentIndex();
        if (current.isValid() && m_files->isEnabled()) {
            emit FileActivated(current.data(Qt::DisplayRole).toString());
        }
        return true;
    }
    if ((watched == m_folders || watched == m_files) && IsPlainKey(key, Qt::Key_Backspace)) {
        GoUp();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DirView::FileBecameCurrent(const QModelIndex& index)
{
    emit FileSelected(index.isValid() ? index.data(Qt::DisplayRole).toString() : QString());
}

bool DirView::GoToTypedPath()
{
    QString typed = m_path->text().trimmed();
    if (typed == QStringLiteral("~") || typed.startsWith(QStringLiteral("~/"))) {
        typed = QDir::homePath() + typed.mid(1);
    }
    if (typed.isEmpty()) {
        m_path->setText(m_folder);
        return false;
    }
    // A relative path starts at the current folder.
    QFileInfo info(QDir(m_folder), typed);
    if (info.isFile()) {
        QString file = info.fileName();
        if (!SetFolder(info.absolutePath())) {
            return false;
        }
        SelectFileWhenListed(file);
        return true;
    }
    if (!info.exists()) {
        m_messages.Inform("There is no folder " +
                              QDir::cleanPath(info.absoluteFilePath()).toStdString() +
                              ".\nType the path of a folder and press Enter (~ stands for "
                              "the home folder).",
                          "Folder not found");
        m_path->setFocus();
        m_path->selectAll();
        return false;
    }
    return SetFolder(info.absoluteFilePath());
}

bool DirView::GoUp()
{
    QDir folder(m_folder);
    if (!folder.cdUp()) {
        return false;
    }
    return SetFolder(folder.absolutePath());
}

void DirView::SelectFileWhenListed(const QString& fileName)
{
    QModelIndex root = m_files->rootIndex();
    for (int row = 0; row < m_names->rowCount(root); ++row) {
        QModelIndex file = m_names->index(row, 0, root);
        if (m_fileModel->fileName(m_names->mapToSource(file)) == fileName) {
            m_pendingFile.clear();
            m_files->setCurrentIndex(file);
            m_files->setFocus();
            return;
        }
    }
    // Not read yet (or not a file the pattern lists): tried again once read.
    m_pendingFile = fileName;
}

void DirView::FillPlaces(const QString& gameFolder)
{
    m_places->clear();
    QStringList places = {QDir::homePath(), QDir::rootPath()};
    if (!gameFolder.isEmpty()) {
        places << NativePath(gameFolder);
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !places.contains(volume.rootPath())) {
            places << volume.rootPath();
        }
    }
    for (const QString& place : places) {
        m_places->addItem(place, place);
    }
}

void DirView::SetGameFolder(const QString& folder)
{
    FillPlaces(folder);
}

void DirView::PlaceChosen(int index)
{
    if (!SetFolder(m_places->itemData(index).toString())) {
        // Back to the place of the current folder, as far as the list has it.
        int current = m_places->findData(m_folder);
        if (current >= 0) {
            m_places->setCurrentIndex(current);
        }
    }
}

void DirView::SetWildFile(const QStringList& patterns)
{
    m_fileModel->setNameFilters(patterns);
    m_names->SetCut(!m_wholeName, patterns);
    m_patterns = patterns;
}

void DirView::SetShowWholeName(bool wholeName)
{
    m_wholeName = wholeName;
    m_names->SetCut(!wholeName, m_patterns);
}

void DirView::SetEnableFiles(bool enabled)
{
    m_files->setEnabled(enabled);
}

bool DirView::SetFolder(const QString& folder, bool quietly)
{
    QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        if (!quietly) {
            m_messages.Inform("Can't access drive " + folder.toStdString(), "Disk error");
        }
        return false;
    }
    ShowFolder(folder);
    return true;
}

void DirView::ShowFolder(const QString& folder)
{
    QString chosen = NativePath(folder);
    m_path->setText(chosen);
    if (chosen == m_folder) {
        return;
    }
    m_folder = chosen;
    m_pendingFile.clear();
    ShowFolderInTree();
    // The place the folder lies in: the longest place that holds it.
    int place = -1;
    qsizetype longest = -1;
    for (int i = 0; i < m_places->count(); ++i) {
        QString root = m_places->itemData(i).toString();
        bool holds =
            m_folder == root ||
            m_folder.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
        if (holds && root.size() > longest) {
            place = i;
            longest = root.size();
        }
    }
    m_places->setCurrentIndex(place);
    QModelIndex files = m_fileModel->setRootPath(m_folder);
    m_names->RootChanged();
    m_files->setRootIndex(m_names->mapFromSource(files));
    emit FolderChanged(m_folder);
    emit FileSelected(QString());
}

void DirView::ShowFolderInTree()
{
    QModelIndex tree = m_folderModel->index(m_folder);
    for (QModelIndex parent = tree.parent(); parent.isValid(); parent = parent.parent()) {
        m_folders->expand(parent);
    }
    m_folders->setCurrentIndex(tree);
    m_folders->scrollTo(tree, QAbstractItemView::PositionAtCenter);
}

QStringList DirView::ListedFiles() const
{
    QStringList names;
    QModelIndex root = m_files->rootIndex();
    for (int row = 0; row < m_names->rowCount(root); ++row) {
        names << m_names->index(row, 0, root).data(Qt::DisplayRole).toString();
    }
    return names;
}

} // namespace twl
