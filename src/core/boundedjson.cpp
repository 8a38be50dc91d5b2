#include "core/boundedjson.h"

namespace boundedjson {

namespace {

class PrunedTreeBuilder {
public:
    PrunedTreeBuilder(const Shape& root, json* tree) : m_root(root), m_tree(tree) {}

    std::string error;

    bool null() { return value(json(nullptr)); }
    bool boolean(bool v) { return value(json(v)); }
    bool number_integer(json::number_integer_t v) { return value(json(v)); }
    bool number_unsigned(json::number_unsigned_t v) { return value(json(v)); }
    bool number_float(json::number_float_t v, const std::string&) { return value(json(v)); }
    bool string(json::string_t& v) { return value(json(std::move(v))); }
    bool binary(json::binary_t&) { return value(json()); }

    bool start_object(std::size_t) { return start(Shape::Kind::Object); }
    bool start_array(std::size_t) { return start(Shape::Kind::Array); }
    bool end_object() { return end(); }
    bool end_array() { return end(); }

    bool key(json::string_t& k)
    {
        Frame& f = m_stack.back();
        f.slot = nullptr;
        if (!f.node)
            return true;
        const auto& keys = f.shape->keys;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == k) {
                f.slot = &f.shape->fields[i];
                f.key = std::move(k);
                break;
            }
        }
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e)
    {
        error = e.what();
        return false;
    }

private:
    struct Frame {
        json* node = nullptr; // null while skipping a value nobody reads
        const Shape* shape = nullptr;
        bool isArray = false;
        bool poisoned = false;       // an array past its first wrong element
        const Shape* slot = nullptr; // the shape expected for the next value
        std::string key;
    };

    // Where the next value goes: its expected shape, or null to skip it.
    const Shape* expected()
    {
        if (m_stack.empty())
            return &m_root;
        Frame& f = m_stack.back();
        if (!f.node)
            return nullptr;
        if (f.isArray)
            return f.poisoned ? nullptr : &f.shape->element.front();
        return f.slot;
    }

    json* place(json&& v)
    {
        if (m_stack.empty()) {
            *m_tree = std::move(v);
            return m_tree;
        }
        Frame& f = m_stack.back();
        if (f.isArray) {
            f.node->push_back(std::move(v));
            return &f.node->back();
        }
        json& slot = (*f.node)[f.key];
        slot = std::move(v);
        return &slot;
    }

    // A decoder stops at the first wrong value; what follows it in the same array is never read.
    void poisonInnermostArray()
    {
        for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) {
            if (it->isArray && it->node) {
                it->poisoned = true;
                return;
            }
        }
    }

    bool value(json&& v)
    {
        const Shape* shape = expected();
        if (!shape)
            return true;
        if (shape->kind != Shape::Kind::Scalar)
            poisonInnermostArray();
        place(std::move(v));
        return true;
    }

    bool start(Shape::Kind kind)
    {
        if (m_depth++ >= kMaxDepth) {
            error = "The document is nested deeper than " + std::to_string(kMaxDepth) + " levels.";
            return false;
        }
        const Shape* shape = expected();
        json* node = nullptr;
        if (shape) {
            json* placed = place(kind == Shape::Kind::Object ? json::object() : json::array());
            if (shape->kind == kind)
                node = placed;
            else
                poisonInnermostArray();
        }
        m_stack.push_back(Frame{node, node ? shape : nullptr, kind == Shape::Kind::Array});
        return true;
    }

    bool end()
    {
        m_stack.pop_back();
        --m_depth;
        return true;
    }

    const Shape& m_root;
    json* m_tree;
    std::vector<Frame> m_stack;
    int m_depth = 0;
};

} // namespace

bool parse(const QByteArray& bytes, const Shape& shape, json* tree, std::string* error)
{
    PrunedTreeBuilder builder(shape, tree);
    const bool ok = json::sax_parse(bytes.constBegin(), bytes.constEnd(), &builder);
    if (!ok) {
        *tree = json();
        if (error)
            *error = builder.error;
    }
    return ok;
}

} // namespace boundedjson
