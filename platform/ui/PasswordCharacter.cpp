#include "platform/ui/PasswordCharacter.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace plat {

namespace {

// The edit's style answers the password character it was given; everything else is the
// application's style.
class PasswordCharacterStyle : public QProxyStyle
{
public:
    explicit PasswordCharacterStyle(QChar character) : character_(character) {}
    QChar character() const { return character_; }
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return character_.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar character_;
};

} // namespace

void setPasswordCharacter(QLineEdit *edit, QChar character)
{
    if (character.isNull()) {
        edit->setEchoMode(QLineEdit::Normal);
        return;
    }
    const auto *current = dynamic_cast<const PasswordCharacterStyle *>(edit->style());
    if (!current || current->character() != character) {
        // One style per edit, owned by it (a widget never owns the style it is given).
        auto *style = new PasswordCharacterStyle(character);
        style->setParent(edit);
        edit->setStyle(style);
    }
    edit->setEchoMode(QLineEdit::Password);
}

} // namespace plat
