#pragma once

#include "core/boundedjson.h"

#include <QString>
#include <QStringList>

#include <optional>

// Strict reading of a parsed JSON document: a required key that is missing or null, or a
// value of the wrong JSON type, throws an Error naming the key with its place in the
// document (e.g. tracks[2].artist). Optional keys may be absent or null; present, they must
// have the right type. Unknown keys are never looked at.
namespace strictjson {

using json = boundedjson::json;

struct Error {
    enum class Kind { KeyNotFound, ValueNotFound, TypeMismatch, DataCorrupted };
    Kind kind = Kind::DataCorrupted;
    QString sentence; // without its full stop
    QString path;     // where it failed; empty for the document itself

    // The full form: `typeMismatch: Expected a string for key "name" but found another type
    // instead (at playlists[0].name).`
    QString describe() const;
    // The sentence alone, with its full stop.
    QString plain() const;
};

class Array;

// One object of the document, with its place in it.
class Object {
public:
    // The document itself, which must be an object.
    static Object root(json& document);

    template <typename T> T require(const char* key) const;
    // Nothing when the key is absent or null.
    template <typename T> std::optional<T> optional(const char* key) const;
    Array requireArray(const char* key) const;

    QString pathOf(const char* key) const;

private:
    friend class Array;
    Object(json* node, QString path) : m_node(node), m_path(std::move(path)) {}
    // The value under key; an Error when it is missing or null.
    json& value(const char* key) const;
    // The same, and of the JSON type that is tells; otherwise a type mismatch.
    json& value(const char* key, bool (json::*is)() const noexcept, const char* expected) const;
    json* find(const char* key) const;

    json* m_node;
    QString m_path;
};

// One array of the document, with its place in it.
class Array {
public:
    size_t size() const { return m_node->size(); }
    QString pathAt(size_t index) const;
    // The element at index as an object; otherwise a type mismatch saying "Expected <what>".
    Object objectAt(size_t index, const char* what) const;
    // Lets go of an element already read, so a big document is not held twice.
    void release(size_t index) { (*m_node)[index] = nullptr; }

private:
    friend class Object;
    Array(json* node, QString path) : m_node(node), m_path(std::move(path)) {}

    json* m_node;
    QString m_path;
};

// The readers above exist for these types; a QStringList is an array of strings.
template <> QString Object::require<QString>(const char* key) const;
template <> bool Object::require<bool>(const char* key) const;
template <> qint64 Object::require<qint64>(const char* key) const;
template <> double Object::require<double>(const char* key) const;
template <> QStringList Object::require<QStringList>(const char* key) const;

template <typename T> std::optional<T> Object::optional(const char* key) const
{
    const json* v = find(key);
    if (!v || v->is_null())
        return std::nullopt;
    return require<T>(key);
}

// What a decoder reads for a value of type T, for the bounded parser.
template <typename T> boundedjson::Shape shapeOf()
{
    if constexpr (std::is_same_v<T, QStringList>)
        return boundedjson::Shape::array(boundedjson::Shape::scalar());
    else
        return boundedjson::Shape::scalar();
}

// The JSON form of the values the readers read.
inline json toJson(const QString& value)
{
    return value.toStdString();
}
inline json toJson(bool value)
{
    return value;
}
inline json toJson(qint64 value)
{
    return value;
}
inline json toJson(double value)
{
    return value;
}
json toJson(const QStringList& value);

} // namespace strictjson
