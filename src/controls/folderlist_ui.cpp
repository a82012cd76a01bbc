#include "controls/folderlist_ui.h"

#include "controls/artwork_ui.h"
#include "platform/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 14;

// Shifts icon and name right by the folder's depth, as a tree would.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kDepthRole).toInt() * kIndentPixels, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index)
               + QSize(index.data(kDepthRole).toInt() * kIndentPixels, 0);
    }
};
}

FolderList::FolderList(Volumes& volumes, QWidget* parent) : QListWidget(parent), volumes_(volumes)
{
    setObjectName(QStringLiteral("Dir1"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setAccessibleName(QStringLiteral("Folders"));
    setItemDelegate(new IndentDelegate(this));
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        setCurrentItem(item);
        emit Click();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        setPath(item->data(kPathRole).toString());
    });
}

QString FolderList::normalise(const QString& letterPath)
{
    QString p = letterPath;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (p.size() == 2 && p.at(1) == QLatin1Char(':'))
        p += QLatin1Char('\\');
    while (p.size() > 3 && p.endsWith(QLatin1Char('\\')))
        p.chop(1);
    if (!p.isEmpty())
        p[0] = p.at(0).toUpper();
    return p;
}

QString FolderList::join(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('\\')) ? folder + name : folder + QLatin1Char('\\') + name;
}

bool FolderList::setPath(const QString& letterPath)
{
    const QString wanted = normalise(letterPath);
    if (wanted.size() < 3 || wanted.at(1) != QLatin1Char(':'))
        return false;
    const QString native = volumes_.toNative(wanted);
    if (native.isEmpty() || !QFileInfo(native).isDir())
        return false;
    const bool changed = wanted != path_;
    path_ = wanted;
    rebuild();
    if (changed)
        emit Change();
    return true;
}

void FolderList::Refresh()
{
    rebuild();
}

void FolderList::rebuild()
{
    clear();
    if (path_.isEmpty())
        return;
    const QIcon closed(artFolderIcon(16));
    const QIcon open(artFolderOpenIcon(16));

    // The root, then every ancestor down to the open folder.
    const QString root = path_.left(3);
    const QStringList parts = path_.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString walk = root;
    auto addItem = [this](const QIcon& icon, const QString& shown, const QString& path, int depth) {
        auto* item = new QListWidgetItem(icon, shown, this);
        item->setData(kPathRole, path);
        item->setData(kDepthRole, depth);
        item->setToolTip(path);
        return item;
    };
    QListWidgetItem* openItem = addItem(open, root, root, 0);
    for (int i = 0; i < parts.size(); ++i) {
        walk = join(walk, parts.at(i));
        openItem = addItem(open, parts.at(i), walk, i + 1);
    }

    const int depth = int(parts.size()) + 1;
    QDir dir(volumes_.toNative(path_));
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), [](const QString& x, const QString& y) {
        const int c = x.compare(y, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : x < y;
    });
    for (const QString& name : names) {
        if (name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('\\')))
            continue;
        addItem(closed, name, join(path_, name), depth);
    }
    setCurrentItem(openItem);
}

QString FolderList::pathAt(int row) const
{
    const QListWidgetItem* it = item(row);
    return it ? it->data(kPathRole).toString() : QString();
}

int FolderList::depthAt(int row) const
{
    const QListWidgetItem* it = item(row);
    return it ? it->data(kDepthRole).toInt() : -1;
}

QString FolderList::highlightedPath() const
{
    return currentItem() ? currentItem()->data(kPathRole).toString() : QString();
}

int FolderList::rowOf(const QString& letterPath) const
{
    const QString wanted = normalise(letterPath);
    for (int r = 0; r < count(); ++r)
        if (item(r)->data(kPathRole).toString() == wanted)
            return r;
    return -1;
}

void FolderList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        setPath(currentItem()->data(kPathRole).toString());
        return;
    }
    QListWidget::keyPressEvent(event);
    // Moving the highlight with the keys is a click, as in the mouse case.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        emit Click();
}
