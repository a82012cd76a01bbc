#include "download/form1_ui.h"

Form1::Form1(const AppContext& context, QWidget* parent) : QWidget(parent), ctx_(context)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
}

void Form1::showcontrol()
{
}
