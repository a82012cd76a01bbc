#pragma once
#include <QListWidget>
#include <QString>

class Volumes;

// Folder list (objectName "Dir1"): the open folder's ancestors from the drive root
// down, the open folder itself, and its subfolders one level deeper, each
// indented by its depth. A single click only highlights an entry (Click); a double
// click or Return opens it (Change). Paths are in drive-letter form ("F:\Music").
//
// Hidden folders (names starting with '.') are not listed, and neither are
// folders whose name holds a '\', which letter form cannot express.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    FolderList(Volumes& volumes, QWidget* parent = nullptr);

    // The open folder: "F:\" at a root, "F:\Music" below it; empty before the first open.
    QString Path() const { return path_; }
    // Opens a folder given in letter form ('\' or '/' separators). False, with the
    // open folder unchanged, when it does not exist. Emits Change when it changes.
    bool setPath(const QString& letterPath);
    // Reads the open folder's subfolders again (after one was made).
    void Refresh();

    // Letter path of the entry at a row, or of the highlighted entry; empty when none.
    QString pathAt(int row) const;
    QString highlightedPath() const;
    // How deep an entry is indented: 0 for the root.
    int depthAt(int row) const;
    // Row showing a letter path, -1 when it is not listed.
    int rowOf(const QString& letterPath) const;

    // The same normal form Path() uses: '\' separators, no trailing '\' below a root.
    static QString normalise(const QString& letterPath);
    // folder + '\' + name, without doubling the '\' of a root.
    static QString join(const QString& folder, const QString& name);

signals:
    void Change();
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();

    Volumes& volumes_;
    QString path_;
};
