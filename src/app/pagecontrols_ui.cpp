#include "app/pagecontrols_ui.h"

#include <QPushButton>

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QString& tooltip,
                        const QRect& geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tooltip);
    b->setGeometry(geometry);
    return b;
}
