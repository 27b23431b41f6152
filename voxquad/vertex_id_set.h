#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace voxquad {

// An ordered set of 32-bit ids kept as a sorted array. The sets of a mesh are small (the polygons
// around one vertex, about four to six), so up to six ids live in the set itself, in 32 bytes:
// building the sets of a mesh allocates nothing and touches little memory. A larger set moves its
// ids into an array of its own that doubles as it grows. The interface is the part of std::set the
// remesher uses; iteration is in ascending order.
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
    VertexIDSet(const VertexIDSet& other) { copyFrom(other); }
    VertexIDSet(VertexIDSet&& other) noexcept { takeFrom(other); }
    VertexIDSet& operator=(const VertexIDSet& other)
    {
        if (this != &other) {
            release();
            copyFrom(other);
        }
        return *this;
    }
    VertexIDSet& operator=(VertexIDSet&& other) noexcept
    {
        if (this != &other) {
            release();
            takeFrom(other);
        }
        return *this;
    }
    ~VertexIDSet() { release(); }

    const_iterator begin() const { return ids(); }
    const_iterator end() const { return ids() + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

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
        std::uint32_t at = size_;  // the common case: ids arrive in ascending order
        if (size_ > 0 && ids()[size_ - 1] >= id) {
            const_iterator it = lower_bound(id);
            if (*it == id)
                return false;
            at = static_cast<std::uint32_t>(it - begin());
        }
        if (size_ == capacity_)
            grow();
        std::int32_t* data = ids();
        std::copy_backward(data + at, data + size_, data + size_ + 1);
        data[at] = id;
        ++size_;
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
        std::int32_t* data = ids();
        const std::uint32_t at = static_cast<std::uint32_t>(it - data);
        std::copy(data + at + 1, data + size_, data + at);
        --size_;
        return data + at;
    }

    friend bool operator==(const VertexIDSet& l, const VertexIDSet& r)
    {
        return std::equal(l.begin(), l.end(), r.begin(), r.end());
    }

private:
    static constexpr std::uint32_t inlineCapacity = 6;

    bool onHeap() const { return capacity_ > inlineCapacity; }
    std::int32_t* ids() { return onHeap() ? heap_ : inline_; }
    const std::int32_t* ids() const { return onHeap() ? heap_ : inline_; }

    void grow()
    {
        const std::uint32_t capacity = 2 * capacity_;
        auto* larger = new std::int32_t[capacity];
        std::copy(ids(), ids() + size_, larger);
        release();
        heap_ = larger;
        capacity_ = capacity;
    }
    void release()
    {
        if (onHeap())
            delete[] heap_;
        capacity_ = inlineCapacity;
    }
    // Into a set that holds no array of its own.
    void copyFrom(const VertexIDSet& other)
    {
        if (other.size_ > inlineCapacity) {
            heap_ = new std::int32_t[other.size_];
            capacity_ = other.size_;
        }
        std::copy(other.begin(), other.end(), ids());
        size_ = other.size_;
    }
    void takeFrom(VertexIDSet& other)
    {
        if (other.onHeap()) {
            heap_ = std::exchange(other.heap_, nullptr);
            capacity_ = std::exchange(other.capacity_, inlineCapacity);
        } else {
            std::copy(other.begin(), other.end(), inline_);
        }
        size_ = std::exchange(other.size_, 0u);
    }

    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = inlineCapacity;  // above inlineCapacity the ids are in heap_
    union {
        std::int32_t inline_[inlineCapacity] = {};
        std::int32_t* heap_;
    };
};

}  // namespace voxquad
