#pragma once

#include "core/Messages.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QListView;
class QTreeView;

namespace twl {

class ListedNames;

// A folder browser: a list of places (the home folder, the file-system root,
// the game folder when set, the mounted volumes), the folder tree, and the
// files of the current folder that match the pattern, names compared
// without regard to case. Without ShowWholeName a file is listed (and
// reported) by its name before the pattern's ending: "sarge_c.c" and
// "SARGE_C.C" under "*_c.c" list as "sarge" and "SARGE".
class DirView : public QWidget
{
    Q_OBJECT

public:
    DirView(Messages& messages, QWidget* parent = nullptr);

    // Patterns such as "*_c.c"; a file matches any of them.
    void SetWildFile(const QStringList& patterns);
    void SetShowWholeName(bool wholeName);
    void SetEnableFiles(bool enabled);
    // The game folder joins the places when it is not empty.
    void SetGameFolder(const QString& folder);

    // Makes `folder` current; a folder that cannot be read is reported
    // ("Can't access drive <folder>", "Disk error", unless `quietly`) and the
    // browser stays where it was. False then.
    bool SetFolder(const QString& folder, bool quietly = false);

    QString Folder() const { return m_folder; }

    // The names the file list shows now (for the program's own checks).
    QStringList ListedFiles() const;

signals:
    void FolderChanged(const QString& folder);
    // The file selected, as listed; empty when the folder was changed.
    void FileSelected(const QString& name);
    void FileActivated(const QString& name);
    // The file list holds the files of the current folder.
    void FilesListed();

private:
    void FillPlaces(const QString& gameFolder);
    void PlaceChosen(int index);
    void ShowFolderInTree();

    Messages& m_messages;
    QComboBox* m_places;
    QTreeView* m_folders;
    QListView* m_files;
    QFileSystemModel* m_folderModel;
    QFileSystemModel* m_fileModel;
    ListedNames* m_names;
    QStringList m_patterns;
    bool m_wholeName = true;
    QString m_folder;
};

} // namespace twl
