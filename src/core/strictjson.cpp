#include "core/strictjson.h"

#include <cmath>
#include <limits>

namespace strictjson {

namespace {

QString kindName(Error::Kind kind)
{
    switch (kind) {
    case Error::Kind::KeyNotFound:
        return QStringLiteral("keyNotFound");
    case Error::Kind::ValueNotFound:
        return QStringLiteral("valueNotFound");
    case Error::Kind::TypeMismatch:
        return QStringLiteral("typeMismatch");
    case Error::Kind::DataCorrupted:
        break;
    }
    return QStringLiteral("dataCorrupted");
}

QString joinKey(const QString& at, const char* key)
{
    return at.isEmpty() ? QLatin1String(key) : at + QLatin1Char('.') + QLatin1String(key);
}

Error typeMismatch(const char* key, const QString& path, const char* expected)
{
    return Error{Error::Kind::TypeMismatch,
                 QStringLiteral("Expected %1 for key \"%2\" but found another type instead")
                     .arg(QLatin1String(expected), QLatin1String(key)),
                 path};
}

} // namespace

QString Error::describe() const
{
    return kindName(kind) + QStringLiteral(": ") + sentence +
           (path.isEmpty() ? QStringLiteral(".") : QStringLiteral(" (at %1).").arg(path));
}

QString Error::plain() const
{
    return sentence + QLatin1Char('.');
}

Object Object::root(json& document)
{
    if (!document.is_object())
        throw Error{Error::Kind::TypeMismatch,
                    QStringLiteral("Expected a JSON object at the top level"),
                    {}};
    return Object(&document, {});
}

QString Object::pathOf(const char* key) const
{
    return joinKey(m_path, key);
}

json* Object::find(const char* key) const
{
    const auto it = m_node->find(key);
    return it == m_node->end() ? nullptr : &*it;
}

json& Object::value(const char* key) const
{
    json* v = find(key);
    if (!v)
        throw Error{Error::Kind::KeyNotFound,
                    QStringLiteral("No value associated with key \"%1\"").arg(QLatin1String(key)),
                    pathOf(key)};
    if (v->is_null())
        throw Error{Error::Kind::ValueNotFound,
                    QStringLiteral("Expected a value for key \"%1\" but found null instead")
                        .arg(QLatin1String(key)),
                    pathOf(key)};
    return *v;
}

json& Object::value(const char* key, bool (json::*is)() const noexcept, const char* expected) const
{
    json& v = value(key);
    if (!(v.*is)())
        throw typeMismatch(key, pathOf(key), expected);
    return v;
}

template <> QString Object::require<QString>(const char* key) const
{
    return QString::fromStdString(value(key, &json::is_string, "a string").get<std::string>());
}

template <> bool Object::require<bool>(const char* key) const
{
    return value(key, &json::is_boolean, "a boolean").get<bool>();
}

// A number without fraction that fits in 64 bits, also when written as 3.0 or 1e3.
template <> qint64 Object::require<qint64>(const char* key) const
{
    const json& v = value(key);
    if (v.is_number_integer() &&
        !(v.is_number_unsigned() && v.get<quint64>() > quint64(std::numeric_limits<qint64>::max())))
        return v.get<qint64>();
    if (v.is_number_float()) {
        const double d = v.get<double>();
        if (std::fabs(d) < 9.2e18 && d == std::floor(d))
            return qint64(d);
    }
    throw typeMismatch(key, pathOf(key), "an integer");
}

template <> double Object::require<double>(const char* key) const
{
    return value(key, &json::is_number, "a number").get<double>();
}

template <> QStringList Object::require<QStringList>(const char* key) const
{
    const Array array = requireArray(key);
    QStringList list;
    for (size_t i = 0; i < array.size(); ++i) {
        const json& element = (*array.m_node)[i];
        if (!element.is_string())
            throw Error{Error::Kind::TypeMismatch,
                        QStringLiteral("Expected a string but found another type instead"),
                        array.pathAt(i)};
        list << QString::fromStdString(element.get<std::string>());
    }
    return list;
}

Array Object::requireArray(const char* key) const
{
    return Array(&value(key, &json::is_array, "an array"), pathOf(key));
}

QString Array::pathAt(size_t index) const
{
    return QStringLiteral("%1[%2]").arg(m_path).arg(index);
}

Object Array::objectAt(size_t index, const char* what) const
{
    json& element = (*m_node)[index];
    if (!element.is_object())
        throw Error{Error::Kind::TypeMismatch,
                    QStringLiteral("Expected %1").arg(QLatin1String(what)), pathAt(index)};
    return Object(&element, pathAt(index));
}

json toJson(const QStringList& value)
{
    json array = json::array();
    for (const QString& s : value)
        array.push_back(s.toStdString());
    return array;
}

} // namespace strictjson
