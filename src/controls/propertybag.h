#pragma once
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// A control's saved state: named values whose names match without regard to case.
// A value equal to its default is not stored, and a missing name reads as its default.
class PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    // Stores value under name, or removes the name when value equals defaultValue.
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    bool contains(const QString& name) const { return values_.contains(name.toCaseFolded()); }
    // The names as they were written, in case-folded order.
    QStringList keys() const;
    bool isEmpty() const { return values_.isEmpty(); }

private:
    struct Entry {
        QString name;
        QVariant value;
    };
    QMap<QString, Entry> values_;
};
