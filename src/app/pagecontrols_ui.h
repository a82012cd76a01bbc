#pragma once
#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

// A button with its design name, caption and tooltip, at its place on the page.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QString& tooltip,
                        const QRect& geometry);
