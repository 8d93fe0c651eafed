#include "ui/combolistnames.h"

#include <QAbstractItemView>
#include <QComboBox>

void nameComboLists(QWidget &window)
{
    for (QComboBox *box : window.findChildren<QComboBox *>())
        box->view()->setAccessibleName(box->accessibleName());
}
