#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace voxquad {

// An ordered set of 32-bit ids kept as a sorted array. The sets of a mesh are small (the polygons
// around one vertex, about four to six), so up to seven ids live in the set itself: building the
// sets of a mesh allocates nothing, and a set needs no more memory than a node of a node-based
// set. A larger set moves its ids into a growable array. The interface is the part of std::set
// the remesher uses; iteration is in ascending order.
class VertexIDSet {
public:
    using value_type = std::int32_t;
    using const_iterator = const std::int32_t*;
    using iterator = const_iterator;

    VertexIDSet() = default;
    VertexIDSet(std::initializer_list<std::int32_t> ids)
    {
        for (std::int32_t id : ids) insert(id);
    }

    const_iterator begin() const { return spill_.empty() ? inline_ : spill_.data(); }
    const_iterator end() const { return begin() + size(); }
    std::size_t size() const { return spill_.empty() ? count_ : spill_.size(); }
    bool empty() const { return size() == 0; }
    void clear()
    {
        count_ = 0;
        spill_.clear();
    }

    const_iterator lower_bound(std::int32_t id) const { return std::lower_bound(begin(), end(), id); }
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
        const_iterator it = end();  // the common case: ids arrive in ascending order
        if (!empty() && *(it - 1) >= id) {
            it = lower_bound(id);
            if (*it == id)
                return false;
        }
        const std::size_t at = static_cast<std::size_t>(it - begin());
        if (!spill_.empty()) {
            spill_.insert(spill_.begin() + static_cast<std::ptrdiff_t>(at), id);
            return true;
        }
        if (count_ < inlineCapacity) {
            std::copy_backward(inline_ + at, inline_ + count_, inline_ + count_ + 1);
            inline_[at] = id;
            ++count_;
            return true;
        }
        spill_.reserve(2 * inlineCapacity);
        spill_.assign(inline_, inline_ + count_);
        spill_.insert(spill_.begin() + static_cast<std::ptrdiff_t>(at), id);
        count_ = 0;
        return true;
    }
    // Returns the number of ids erased (0 or 1).
    std::size_t erase(std::int32_t id)
    {
        auto it = find(id);
        if (it == end())
            return 0;
        erase(it);
        return 1;
    }
    const_iterator erase(const_iterator it)
    {
        const std::size_t at = static_cast<std::size_t>(it - begin());
        if (!spill_.empty())
            spill_.erase(spill_.begin() + static_cast<std::ptrdiff_t>(at));
        else {
            std::copy(inline_ + at + 1, inline_ + count_, inline_ + at);
            --count_;
        }
        return begin() + at;
    }

    friend bool operator==(const VertexIDSet& l, const VertexIDSet& r)
    {
        return std::equal(l.begin(), l.end(), r.begin(), r.end());
    }

private:
    static constexpr std::uint32_t inlineCapacity = 7;
    std::int32_t inline_[inlineCapacity] = {};  // the ids while spill_ is empty
    std::uint32_t count_ = 0;                   // ids in inline_
    std::vector<std::int32_t> spill_;           // every id once there are more than inlineCapacity
};

}  // namespace voxquad
