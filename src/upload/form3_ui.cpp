#include "upload/form3_ui.h"

Form3::Form3(const AppContext& context, QWidget* parent) : QWidget(parent), ctx_(context)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
}

void Form3::showcontrol()
{
}
