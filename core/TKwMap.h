// Ordered map on an AVL tree with parent links, walked with a cursor.
#ifndef KWSDK_TKWMAP_H
#define KWSDK_TKWMAP_H

#include "KwObject.h"

#include <new>

namespace KwSDK {

// Keys are ordered by their GetText() as unsigned bytes, case-sensitive, with
// an absent text before every other key. The cursor walks in key order:
// MoveFirst, then GetKey/GetValue and MoveNext until MoveNext answers 0.
// RemoveKey may be called for the current key during that walk: it parks the
// cursor on the following entry, and the next MoveNext stays there.
template <class K, class V>
class TKwMap : public virtual KwObject {
public:
    TKwMap();
    TKwMap(const TKwMap& other);
    TKwMap& operator=(const TKwMap& other);
    ~TKwMap() override;

    // Inserts only when the key is absent: 1 when inserted, 0 when the key
    // existed (its value stays) or memory ran out.
    virtual int SetAt(const K& key, const V& value);
    // Copies the value of a key; 1 if found.
    virtual int Lookup(const K& key, V& value) const;
    virtual int ContainsKey(const K& key) const;
    // 1 if any value equals the given one; a linear scan in key order.
    virtual int ContainsValue(const V& value) const;
    // Removes a key and answers its value (an empty value if absent). The
    // cursor moves to the entry that followed the removed one.
    virtual V RemoveKey(const K& key);
    virtual int GetCount() const;
    // Cursor to the smallest key; 0 if empty.
    virtual int MoveFirst();
    // Cursor to the next key; 0 at the end. Right after a removal it stays on
    // the entry the removal moved it to.
    virtual int MoveNext();
    // Copy of the value at the cursor (empty at the end).
    virtual V GetValue() const;
    // Copy of the key at the cursor (empty at the end).
    virtual K GetKey() const;
    virtual void RemoveAll();
    virtual int IsEmpty() const;

private:
    struct Node {
        Node(const K& nodeKey, const V& nodeValue)
            : key(nodeKey), value(nodeValue), parent(nullptr), left(nullptr), right(nullptr), height(1)
        {
        }
        K key;
        V value;
        Node* parent;
        Node* left;
        Node* right;
        int height;
    };

    static int CompareKeys(const K& a, const K& b);
    static int Height(const Node* node) { return node ? node->height : 0; }
    static void UpdateHeight(Node* node);
    static Node* Leftmost(Node* node);
    static Node* Successor(Node* node);
    static Node* CopyTree(const Node* source, Node* parent, int& complete);
    static void FreeTree(Node* node);

    Node* Find(const K& key) const;
    void ReplaceChild(Node* parent, Node* old, Node* replacement);
    Node* RotateLeft(Node* node);
    Node* RotateRight(Node* node);
    void Rebalance(Node* node);
    void Unlink(Node* node);
    void CopyFrom(const TKwMap& other);

    Node* m_pRoot;
    Node* m_pCursor;
    int m_nCount;
    int m_bAdvanced;
};

template <class K, class V>
TKwMap<K, V>::TKwMap()
    : m_pRoot(nullptr), m_pCursor(nullptr), m_nCount(0), m_bAdvanced(0)
{
    AppendTypeName("TKwMap");
}

template <class K, class V>
TKwMap<K, V>::TKwMap(const TKwMap& other)
    : KwObject(), m_pRoot(nullptr), m_pCursor(nullptr), m_nCount(0), m_bAdvanced(0)
{
    AppendTypeName("TKwMap");
    CopyFrom(other);
}

template <class K, class V>
TKwMap<K, V>& TKwMap<K, V>::operator=(const TKwMap& other)
{
    if (this != &other) {
        RemoveAll();
        CopyFrom(other);
    }
    return *this;
}

template <class K, class V>
TKwMap<K, V>::~TKwMap()
{
    FreeTree(m_pRoot);
}

// Unsigned byte order of the key texts; an absent text comes first.
template <class K, class V>
int TKwMap<K, V>::CompareKeys(const K& a, const K& b)
{
    const unsigned char* left = reinterpret_cast<const unsigned char*>(a.GetText());
    const unsigned char* right = reinterpret_cast<const unsigned char*>(b.GetText());
    if (!left || !right)
        return left ? 1 : (right ? -1 : 0);
    while (*left && *left == *right) {
        ++left;
        ++right;
    }
    return static_cast<int>(*left) - static_cast<int>(*right);
}

template <class K, class V>
void TKwMap<K, V>::UpdateHeight(Node* node)
{
    int left = Height(node->left);
    int right = Height(node->right);
    node->height = (left > right ? left : right) + 1;
}

template <class K, class V>
typename TKwMap<K, V>::Node* TKwMap<K, V>::Leftmost(Node* node)
{
    while (node && node->left)
        node = node->left;
    return node;
}

template <class K, class V>
typename TKwMap<K, V>::Node* TKwMap<K, V>::Successor(Node* node)
{
    if (node->right)
        return Leftmost(node->right);
    while (node->parent && node == node->parent->right)
        node = node->parent;
    return node->parent;
}

// Copies a subtree node by node, keeping its shape and heights. complete is
// cleared when memory runs out; the partial copy is still a valid tree.
template <class K, class V>
typename TKwMap<K, V>::Node* TKwMap<K, V>::CopyTree(const Node* source, Node* parent, int& complete)
{
    if (!source || !complete)
        return nullptr;
    Node* node = new (std::nothrow) Node(source->key, source->value);
    if (!node) {
        complete = 0;
        return nullptr;
    }
    node->parent = parent;
    node->height = source->height;
    node->left = CopyTree(source->left, node, complete);
    node->right = CopyTree(source->right, node, complete);
    return node;
}

template <class K, class V>
void TKwMap<K, V>::FreeTree(Node* node)
{
    if (!node)
        return;
    FreeTree(node->left);
    FreeTree(node->right);
    delete node;
}

template <class K, class V>
void TKwMap<K, V>::CopyFrom(const TKwMap& other)
{
    int complete = 1;
    m_pRoot = CopyTree(other.m_pRoot, nullptr, complete);
    if (complete) {
        m_nCount = other.m_nCount;
        return;
    }
    // A partial copy would break the height balance: keep nothing instead.
    FreeTree(m_pRoot);
    m_pRoot = nullptr;
}

template <class K, class V>
typename TKwMap<K, V>::Node* TKwMap<K, V>::Find(const K& key) const
{
    Node* node = m_pRoot;
    while (node) {
        int order = CompareKeys(key, node->key);
        if (order == 0)
            return node;
        node = order < 0 ? node->left : node->right;
    }
    return nullptr;
}

// Puts replacement where old hung below parent (or at the root).
template <class K, class V>
void TKwMap<K, V>::ReplaceChild(Node* parent, Node* old, Node* replacement)
{
    if (!parent)
        m_pRoot = replacement;
    else if (parent->left == old)
        parent->left = replacement;
    else
        parent->right = replacement;
    if (replacement)
        replacement->parent = parent;
}

// Lifts the right child into node's place; answers the subtree's new root.
template <class K, class V>
typename TKwMap<K, V>::Node* TKwMap<K, V>::RotateLeft(Node* node)
{
    Node* child = node->right;
    node->right = child->left;
    if (child->left)
        child->left->parent = node;
    ReplaceChild(node->parent, node, child);
    child->left = node;
    node->parent = child;
    UpdateHeight(node);
    UpdateHeight(child);
    return child;
}

// Lifts the left child into node's place; answers the subtree's new root.
template <class K, class V>
typename TKwMap<K, V>::Node* TKwMap<K, V>::RotateRight(Node* node)
{
    Node* child = node->left;
    node->left = child->right;
    if (child->right)
        child->right->parent = node;
    ReplaceChild(node->parent, node, child);
    child->right = node;
    node->parent = child;
    UpdateHeight(node);
    UpdateHeight(child);
    return child;
}

// Restores heights and balance from node up to the root. Rotations relink
// nodes and never move keys, so the cursor stays on its entry.
template <class K, class V>
void TKwMap<K, V>::Rebalance(Node* node)
{
    while (node) {
        UpdateHeight(node);
        int balance = Height(node->left) - Height(node->right);
        if (balance > 1) {
            if (Height(node->left->left) < Height(node->left->right))
                RotateLeft(node->left);
            node = RotateRight(node);
        } else if (balance < -1) {
            if (Height(node->right->right) < Height(node->right->left))
                RotateRight(node->right);
            node = RotateLeft(node);
        }
        node = node->parent;
    }
}

// Takes a node out of the tree without deleting it. A node with two children
// is replaced by its successor node itself, so no other entry changes node.
template <class K, class V>
void TKwMap<K, V>::Unlink(Node* node)
{
    Node* start = node->parent;
    if (!node->left) {
        ReplaceChild(node->parent, node, node->right);
    } else if (!node->right) {
        ReplaceChild(node->parent, node, node->left);
    } else {
        Node* successor = Leftmost(node->right);
        if (successor->parent != node) {
            start = successor->parent;
            ReplaceChild(successor->parent, successor, successor->right);
            successor->right = node->right;
            successor->right->parent = successor;
        } else {
            start = successor;
        }
        ReplaceChild(node->parent, node, successor);
        successor->left = node->left;
        successor->left->parent = successor;
    }
    Rebalance(start);
}

template <class K, class V>
int TKwMap<K, V>::SetAt(const K& key, const V& value)
{
    Node* parent = nullptr;
    Node** link = &m_pRoot;
    while (*link) {
        int order = CompareKeys(key, (*link)->key);
        if (order == 0)
            return 0;
        parent = *link;
        link = order < 0 ? &parent->left : &parent->right;
    }
    Node* node = new (std::nothrow) Node(key, value);
    if (!node)
        return 0;
    node->parent = parent;
    *link = node;
    ++m_nCount;
    Rebalance(parent);
    return 1;
}

template <class K, class V>
int TKwMap<K, V>::Lookup(const K& key, V& value) const
{
    Node* node = Find(key);
    if (!node)
        return 0;
    value = node->value;
    return 1;
}

template <class K, class V>
int TKwMap<K, V>::ContainsKey(const K& key) const
{
    return Find(key) ? 1 : 0;
}

template <class K, class V>
int TKwMap<K, V>::ContainsValue(const V& value) const
{
    for (Node* node = Leftmost(m_pRoot); node; node = Successor(node)) {
        if (node->value == value)
            return 1;
    }
    return 0;
}

template <class K, class V>
V TKwMap<K, V>::RemoveKey(const K& key)
{
    Node* node = Find(key);
    if (!node)
        return V();
    V value = node->value;
    m_pCursor = Successor(node);
    m_bAdvanced = 1;
    Unlink(node);
    delete node;
    --m_nCount;
    return value;
}

template <class K, class V>
int TKwMap<K, V>::GetCount() const
{
    return m_nCount;
}

template <class K, class V>
int TKwMap<K, V>::MoveFirst()
{
    m_pCursor = Leftmost(m_pRoot);
    m_bAdvanced = 0;
    return m_pCursor ? 1 : 0;
}

template <class K, class V>
int TKwMap<K, V>::MoveNext()
{
    if (!m_pCursor)
        return 0;
    if (m_bAdvanced) {
        m_bAdvanced = 0;
        return 1;
    }
    m_pCursor = Successor(m_pCursor);
    return m_pCursor ? 1 : 0;
}

template <class K, class V>
V TKwMap<K, V>::GetValue() const
{
    return m_pCursor ? m_pCursor->value : V();
}

template <class K, class V>
K TKwMap<K, V>::GetKey() const
{
    return m_pCursor ? m_pCursor->key : K();
}

template <class K, class V>
void TKwMap<K, V>::RemoveAll()
{
    FreeTree(m_pRoot);
    m_pRoot = nullptr;
    m_pCursor = nullptr;
    m_nCount = 0;
    m_bAdvanced = 0;
}

template <class K, class V>
int TKwMap<K, V>::IsEmpty() const
{
    return m_nCount == 0 ? 1 : 0;
}

} // namespace KwSDK

#endif
