#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace voxquad {

// An ordered set of 32-bit ids kept as a sorted array. The sets of a mesh are small (the polygons
// around one vertex, about four to six), so a sorted array needs a fraction of the memory and
// allocations of a node-based set and is faster to build and to walk. The interface is the part of
// std::set the remesher uses; iteration is in ascending order.
class VertexIDSet {
public:
    using value_type = std::int32_t;
    using const_iterator = std::vector<std::int32_t>::const_iterator;
    using iterator = const_iterator;

    VertexIDSet() = default;
    VertexIDSet(std::initializer_list<std::int32_t> ids) : ids_(ids)
    {
        std::sort(ids_.begin(), ids_.end());
        ids_.erase(std::unique(ids_.begin(), ids_.end()), ids_.end());
    }

    const_iterator begin() const { return ids_.begin(); }
    const_iterator end() const { return ids_.end(); }
    std::size_t size() const { return ids_.size(); }
    bool empty() const { return ids_.empty(); }
    void clear() { ids_.clear(); }

    const_iterator lower_bound(std::int32_t id) const { return std::lower_bound(ids_.begin(), ids_.end(), id); }
    const_iterator find(std::int32_t id) const
    {
        auto it = lower_bound(id);
        return it != end() && *it == id ? it : end();
    }
    std::size_t count(std::int32_t id) const { return find(id) != end() ? 1 : 0; }
    bool contains(std::int32_t id) const { return find(id) != end(); }

    // Returns whether the id was new.
    bool insert(std::int32_t id)
    {
        if (ids_.empty() || ids_.back() < id) {  // the common case: ids arrive in ascending order
            ids_.push_back(id);
            return true;
        }
        auto it = std::lower_bound(ids_.begin(), ids_.end(), id);
        if (it != ids_.end() && *it == id)
            return false;
        ids_.insert(it, id);
        return true;
    }
    // Returns the number of ids erased (0 or 1).
    std::size_t erase(std::int32_t id)
    {
        auto it = find(id);
        if (it == end())
            return 0;
        ids_.erase(it);
        return 1;
    }
    const_iterator erase(const_iterator it) { return ids_.erase(it); }

    friend bool operator==(const VertexIDSet& l, const VertexIDSet& r) { return l.ids_ == r.ids_; }

private:
    std::vector<std::int32_t> ids_;
};

}  // namespace voxquad
