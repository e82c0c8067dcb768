// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QModelIndex;
class QTreeView;

namespace twl {

class ListedNames;

// A folder browser: a list of places (the home folder, the file-system root,
// the game folder when set, the mounted volumes), the folder tree, and the
// files of the current folder that match the pattern, names compared
// without regard to case. Without ShowWholeName a file is listed (and
// reported) by its name before the pattern's ending: "sarge_c.c" and
// "SARGE_C.C" under "*_c.c" list as "sarge" and "SARGE".
//
// The browser follows the current item however it was chosen (click, arrow
// keys, typing a name's first letters); a folder of the tree that cannot be
// read becomes current too, quietly, and lists no files (only a place or a
// typed path that cannot be read is reported). The path box shows the current
// folder; a path typed there and Enter goes to it (a file's path goes to its
// folder and selects the file). Enter in the folder tree opens the folder,
// Enter in the file list activates the file, Backspace in either goes up.
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

    // Goes to the folder (or the file) the path box names; a path that names
    // nothing is reported ("Folder not found") and the browser stays.
    bool GoToTypedPath();
    // The folder above the current one; false at the root.
    bool GoUp();

signals:
    void FolderChanged(const QString& folder);
    // The file selected, as listed; empty when the folder was changed.
    void FileSelected(const QString& name);
    void FileActivated(const QString& name);
    // The file list holds the files of the current folder.
    void FilesListed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillPlaces(const QString& gameFolder);
    void PlaceChosen(int index);
    // Makes the folder current without asking whether it can be read.
    void ShowFolder(const QString& folder);
    void ShowFolderInTree();
    void FileBecameCurrent(const QModelIndex& index);
    // Selects the listed file of that name, once the list holds it.
    void SelectFileWhenListed(const QString& fileName);

    Messages& m_messages;
    QComboBox* m_places;
    QLineEdit* m_path;
    QTreeView* m_folders;
    QListView* m_files;
    QFileSystemModel* m_folderModel;
    QFileSystemModel* m_fileModel;
    ListedNames* m_names;
    QStringList m_patterns;
    bool m_wholeName = true;
    QString m_folder;
    // A file named in the path box, selected once the list has been read.
    QString m_pendingFile;
};

} // namespace twl
