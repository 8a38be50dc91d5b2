#pragma once

#include <QByteArray>

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

// Parsing of hand-edited or downloaded JSON files into a tree that holds only what their
// decoder reads. Keys the decoder does not know are skipped while parsing, a value of the
// wrong kind is kept only as an empty stand-in (enough for the decoder's type error), an
// array stops growing after its first wrong element, and nesting deeper than kMaxDepth
// stops the parse. So a file of nothing but brackets or numbers costs no more memory than
// its own bytes, while every decoder error stays what it would be for the full tree.
namespace boundedjson {

using json = nlohmann::ordered_json;

constexpr int kMaxDepth = 64;

// What a decoder reads at one place of a document.
struct Shape {
    enum class Kind { Scalar, Object, Array };
    Kind kind = Kind::Scalar;
    std::vector<std::string> keys; // the keys of an object...
    std::vector<Shape> fields;     // ...and what each of them holds
    std::vector<Shape> element;    // the one shape of an array's elements

    static Shape scalar() { return {}; }
    static Shape object(std::vector<std::pair<std::string, Shape>> fields);
    static Shape array(Shape element);
};

inline Shape Shape::object(std::vector<std::pair<std::string, Shape>> fields)
{
    Shape shape{Kind::Object, {}, {}, {}};
    for (auto& [key, field] : fields) {
        shape.keys.push_back(key);
        shape.fields.push_back(std::move(field));
    }
    return shape;
}

inline Shape Shape::array(Shape element)
{
    Shape shape{Kind::Array, {}, {}, {}};
    shape.element.push_back(std::move(element));
    return shape;
}

// Parses bytes; on failure returns false with the parser's own text (or the depth limit's).
bool parse(const QByteArray& bytes, const Shape& shape, json* tree, std::string* error);

} // namespace boundedjson
