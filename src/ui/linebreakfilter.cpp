#include "ui/linebreakfilter.h"

#include "settings/inifile.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class NoLineBreakValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        return IniFile::storable(input) ? Acceptable : Invalid;
    }
};

} // namespace

void refuseLineBreaks(QLineEdit *edit)
{
    edit->setValidator(new NoLineBreakValidator(edit));
}
