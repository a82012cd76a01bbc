#include "controls/propertybag.h"

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const auto it = values_.constFind(name.toCaseFolded());
    return it == values_.cend() ? defaultValue : it->value;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    const QString key = name.toCaseFolded();
    // Both "no value" (an empty picture) and an equal value count as the default.
    const bool isDefault = (!value.isValid() && !defaultValue.isValid())
                           || (value.isValid() && defaultValue.isValid() && value == defaultValue);
    if (isDefault)
        values_.remove(key);
    else
        values_.insert(key, Entry{name, value});
}

QStringList PropertyBag::keys() const
{
    QStringList out;
    for (const Entry& e : values_)
        out << e.name;
    return out;
}
