// A small owning singly linked list with a cursor, used throughout the NTFS
// reader: the attribute lists of a file record, the data runs of an
// attribute, the extension records of an attribute list and the entries of
// an index root. The list owns its elements and destroys them in RemoveAll.
#pragma once
#include <cstdint>
#include <new>

template <typename T>
class CSList {
 public:
  struct Node {
    Node* Next = nullptr;
    T* Entry = nullptr;
  };

  CSList() = default;
  virtual ~CSList() { RemoveAll(); }
  CSList(const CSList&) = delete;
  CSList& operator=(const CSList&) = delete;

  uint32_t GetCount() const { return Count; }
  bool IsEmpty() const { return Count == 0; }

  // Adds element at the tail and takes it over. False only when no node can
  // be allocated; the element then stays the caller's.
  bool Append(T* element) {
    Node* node = new (std::nothrow) Node;
    if (node == nullptr) return false;
    node->Entry = element;
    if (Tail == nullptr) {
      Head = node;
    } else {
      Tail->Next = node;
    }
    Tail = node;
    ++Count;
    return true;
  }

  // Moves the cursor to the head and returns its element (none when empty).
  T* First() {
    Cursor = Head;
    return Cursor ? Cursor->Entry : nullptr;
  }

  // Moves the cursor on by one node and returns its element (none at the end).
  T* Next() {
    if (Cursor != nullptr) Cursor = Cursor->Next;
    return Cursor ? Cursor->Entry : nullptr;
  }

  // Moves every element of other, in order, to the tail of this list without
  // destroying any; other is left empty.
  void TakeAllFrom(CSList& other) {
    if (&other == this || other.Head == nullptr) return;
    if (Tail == nullptr) {
      Head = other.Head;
    } else {
      Tail->Next = other.Head;
    }
    Tail = other.Tail;
    Count += other.Count;
    other.Count = 0;
    other.Head = other.Tail = other.Cursor = nullptr;
  }

  // Destroys every element from head to tail and every node.
  void RemoveAll() {
    Node* node = Head;
    while (node != nullptr) {
      Node* next = node->Next;
      delete node->Entry;
      delete node;
      node = next;
    }
    Count = 0;
    Head = Tail = Cursor = nullptr;
  }

 private:
  uint32_t Count = 0;
  Node* Head = nullptr;
  Node* Tail = nullptr;
  Node* Cursor = nullptr;
};
