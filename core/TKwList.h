// Doubly linked list that owns copies of its elements and keeps its own cursor.
#ifndef KWSDK_TKWLIST_H
#define KWSDK_TKWLIST_H

#include "KwObject.h"

#include <new>

namespace KwSDK {

// Iteration: MoveFirst, then GetAt and MoveNext until MoveNext answers 0.
// A list of pointers owns only the pointers, never the objects they point to.
template <class T>
class TKwList : public virtual KwObject {
public:
    TKwList();
    TKwList(const TKwList& other);
    // Empties this list and appends a copy of every element of the other one.
    TKwList& operator=(const TKwList& other);
    ~TKwList() override;

    virtual int GetCount() const;
    // 1 if there is a cursor and it is the head.
    virtual int IsFirst() const;
    // 1 if there is a cursor and it is the tail.
    virtual int IsLast() const;
    virtual int MoveFirst();
    virtual int MoveLast();
    // One step toward the head; 0 with the cursor unchanged when that is impossible.
    virtual int MovePrev();
    // One step toward the tail; 0 with the cursor unchanged when that is impossible.
    virtual int MoveNext();
    virtual void RemoveAll();
    // Inserts a copy at the head; the cursor stays unless the list was empty.
    virtual int AddHead(const T& element);
    // Appends a copy at the tail; the cursor stays unless the list was empty.
    virtual int AddTail(const T& element);
    // Inserts a copy next to the cursor: toward the tail when after is set,
    // toward the head otherwise. The cursor stays; 0 without a cursor.
    virtual int Insert(const T& element, int after);
    // Overwrites the element at the cursor; 0 without a cursor.
    virtual int SetAt(const T& element);
    // Removes the element at the cursor and moves the cursor to the following
    // element, or to the new tail when the tail was removed; 0 without a cursor.
    virtual int RemoveAt();
    // The element at the cursor, inside its node; null without a cursor.
    virtual T* GetAt();

private:
    struct Node {
        explicit Node(const T& element) : value(element), prev(nullptr), next(nullptr) {}
        T value;
        Node* prev;
        Node* next;
    };

    void AppendAll(const TKwList& other);
    void LinkBefore(Node* node, Node* position);
    void LinkAfter(Node* node, Node* position);

    int m_nCount;
    Node* m_pHead;
    Node* m_pTail;
    Node* m_pCursor;
};

template <class T>
TKwList<T>::TKwList()
    : m_nCount(0), m_pHead(nullptr), m_pTail(nullptr), m_pCursor(nullptr)
{
    AppendTypeName("TKwList");
}

template <class T>
TKwList<T>::TKwList(const TKwList& other)
    : KwObject(), m_nCount(0), m_pHead(nullptr), m_pTail(nullptr), m_pCursor(nullptr)
{
    AppendTypeName("TKwList");
    AppendAll(other);
}

template <class T>
TKwList<T>& TKwList<T>::operator=(const TKwList& other)
{
    // Emptying first would lose every element when a list is assigned to itself.
    if (this != &other) {
        RemoveAll();
        AppendAll(other);
    }
    return *this;
}

template <class T>
TKwList<T>::~TKwList()
{
    TKwList<T>::RemoveAll();
}

// Walks the nodes directly, so the source's cursor is left where its owner put it.
template <class T>
void TKwList<T>::AppendAll(const TKwList& other)
{
    for (const Node* node = other.m_pHead; node; node = node->next) {
        if (!AddTail(node->value))
            return;
    }
}

template <class T>
int TKwList<T>::GetCount() const
{
    return m_nCount;
}

template <class T>
int TKwList<T>::IsFirst() const
{
    return m_pCursor && m_pCursor == m_pHead ? 1 : 0;
}

template <class T>
int TKwList<T>::IsLast() const
{
    return m_pCursor && m_pCursor == m_pTail ? 1 : 0;
}

template <class T>
int TKwList<T>::MoveFirst()
{
    if (!m_pHead)
        return 0;
    m_pCursor = m_pHead;
    return 1;
}

template <class T>
int TKwList<T>::MoveLast()
{
    if (!m_pTail)
        return 0;
    m_pCursor = m_pTail;
    return 1;
}

template <class T>
int TKwList<T>::MovePrev()
{
    if (!m_pCursor || !m_pCursor->prev)
        return 0;
    m_pCursor = m_pCursor->prev;
    return 1;
}

template <class T>
int TKwList<T>::MoveNext()
{
    if (!m_pCursor || !m_pCursor->next)
        return 0;
    m_pCursor = m_pCursor->next;
    return 1;
}

template <class T>
void TKwList<T>::RemoveAll()
{
    Node* node = m_pHead;
    while (node) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    m_nCount = 0;
    m_pHead = m_pTail = m_pCursor = nullptr;
}

// Links a node in front of position, or as the only node when position is null.
template <class T>
void TKwList<T>::LinkBefore(Node* node, Node* position)
{
    if (!position) {
        m_pHead = m_pTail = m_pCursor = node;
    } else {
        node->next = position;
        node->prev = position->prev;
        if (position->prev)
            position->prev->next = node;
        else
            m_pHead = node;
        position->prev = node;
    }
    ++m_nCount;
}

// Links a node behind position, or as the only node when position is null.
template <class T>
void TKwList<T>::LinkAfter(Node* node, Node* position)
{
    if (!position) {
        m_pHead = m_pTail = m_pCursor = node;
    } else {
        node->prev = position;
        node->next = position->next;
        if (position->next)
            position->next->prev = node;
        else
            m_pTail = node;
        position->next = node;
    }
    ++m_nCount;
}

template <class T>
int TKwList<T>::AddHead(const T& element)
{
    Node* node = new (std::nothrow) Node(element);
    if (!node)
        return 0;
    LinkBefore(node, m_pHead);
    return 1;
}

template <class T>
int TKwList<T>::AddTail(const T& element)
{
    Node* node = new (std::nothrow) Node(element);
    if (!node)
        return 0;
    LinkAfter(node, m_pTail);
    return 1;
}

template <class T>
int TKwList<T>::Insert(const T& element, int after)
{
    if (!m_pCursor)
        return 0;
    Node* node = new (std::nothrow) Node(element);
    if (!node)
        return 0;
    if (after)
        LinkAfter(node, m_pCursor);
    else
        LinkBefore(node, m_pCursor);
    return 1;
}

template <class T>
int TKwList<T>::SetAt(const T& element)
{
    if (!m_pCursor)
        return 0;
    m_pCursor->value = element;
    return 1;
}

template <class T>
int TKwList<T>::RemoveAt()
{
    Node* node = m_pCursor;
    if (!node)
        return 0;
    if (node->prev)
        node->prev->next = node->next;
    else
        m_pHead = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        m_pTail = node->prev;
    m_pCursor = node->next ? node->next : node->prev;
    --m_nCount;
    delete node;
    return 1;
}

template <class T>
T* TKwList<T>::GetAt()
{
    return m_pCursor ? &m_pCursor->value : nullptr;
}

} // namespace KwSDK

#endif
