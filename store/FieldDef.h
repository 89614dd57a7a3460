#pragma once

#include <QString>
#include <vector>

// The three field types of every table. Integer is 32-bit signed, Float a 64-bit double and
// String a text of at most `size` characters; any field of any row may also be empty.
enum class FieldType { Integer, Float, String };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Integer;
    int size = 0; // characters, String fields only

    static FieldDef integer(const QString& name) { return {name, FieldType::Integer, 0}; }
    static FieldDef real(const QString& name) { return {name, FieldType::Float, 0}; }
    static FieldDef string(const QString& name, int size) { return {name, FieldType::String, size}; }

    friend bool operator==(const FieldDef& a, const FieldDef& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) == 0 && a.type == b.type && a.size == b.size;
    }
};

using FieldList = std::vector<FieldDef>;
