// Tests of reference counting, the object lock and the type-name chain.
#include "KwObject.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

using namespace KwSDK;

namespace {

class IShape : public virtual KwObject {
public:
    IShape() { AppendTypeName("IShape"); }
    IShape(const IShape&) : KwObject() { AppendTypeName("IShape"); }
    IShape& operator=(const IShape&) = default;
};

class IPainted : public virtual KwObject {
public:
    IPainted() { AppendTypeName("IPainted"); }
    IPainted(const IPainted&) : KwObject() { AppendTypeName("IPainted"); }
    IPainted& operator=(const IPainted&) = default;
};

// Two interfaces over one virtual base, as toolkit classes are built.
class Square : public IShape, public IPainted {
public:
    explicit Square(bool* destroyed = nullptr) : m_pDestroyed(destroyed) { AppendTypeName("Square"); }
    Square(const Square& other) : KwObject(), IShape(other), IPainted(other), m_pDestroyed(nullptr)
    {
        AppendTypeName("Square");
    }
    Square& operator=(const Square&) = default;
    ~Square() override
    {
        if (m_pDestroyed)
            *m_pDestroyed = true;
    }

private:
    bool* m_pDestroyed;
};

long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// Holds an object's lock on another thread until told to let go.
class LockHolder {
public:
    explicit LockHolder(KwObject& object)
        : m_thread([this, &object] {
              object.Lock(KW_INFINITE);
              m_held = true;
              while (!m_release)
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              object.Unlock();
          })
    {
        while (!m_held)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LockHolder()
    {
        m_release = true;
        m_thread.join();
    }
    void Release() { m_release = true; }

private:
    std::atomic<bool> m_held{false};
    std::atomic<bool> m_release{false};
    std::thread m_thread;
};

} // namespace

TEST(KwObjectTypeName, EachConstructorAppendsItsName)
{
    KwObject base;
    Square square;
    EXPECT_STREQ("KwObject", base.GetTypeName());
    EXPECT_STREQ("KwObject.IShape.IPainted.Square", square.GetTypeName());
}

TEST(KwObjectTypeName, CopyBuildsItsOwnChain)
{
    Square original;
    Square copy(original);
    EXPECT_STREQ("KwObject.IShape.IPainted.Square", copy.GetTypeName());
    EXPECT_NE(original.GetTypeName(), copy.GetTypeName());
}

TEST(KwObjectReference, ReleaseOfNeverAddRefedObjectDoesNothing)
{
    bool destroyed = false;
    Square square(&destroyed);
    EXPECT_EQ(0, square.Release());
    EXPECT_FALSE(destroyed);
    EXPECT_STREQ("KwObject.IShape.IPainted.Square", square.GetTypeName());
}

TEST(KwObjectReference, LastReleaseDeletesTheObject)
{
    bool destroyed = false;
    Square* square = new Square(&destroyed);
    EXPECT_EQ(1, square->AddRef());
    EXPECT_EQ(2, square->AddRef());
    EXPECT_EQ(1, square->Release());
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(0, square->Release());
    EXPECT_TRUE(destroyed);
}

TEST(KwObjectReference, ReleaseThroughAnInterfaceDeletesTheWholeObject)
{
    bool destroyed = false;
    IPainted* painted = new Square(&destroyed);
    painted->AddRef();
    EXPECT_EQ(0, painted->Release());
    EXPECT_TRUE(destroyed);
}

TEST(KwObjectReference, CopyStartsWithoutReferences)
{
    bool destroyed = false;
    Square* original = new Square(&destroyed);
    original->AddRef();
    original->AddRef();
    Square copy(*original);
    EXPECT_EQ(0, copy.Release());
    EXPECT_EQ(1, original->Release());
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(0, original->Release());
    EXPECT_TRUE(destroyed);

    // Had assignment taken over the count, this Release would delete a stack object.
    KwObject assigned;
    KwObject source;
    source.AddRef();
    assigned = source;
    EXPECT_EQ(0, assigned.Release());
}

TEST(KwObjectReference, ConcurrentAddRefLosesNoCount)
{
    bool destroyed = false;
    Square* square = new Square(&destroyed);
    const int threads = 4;
    const int perThread = 5000;
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i) {
        workers.emplace_back([square] {
            for (int n = 0; n < perThread; ++n)
                square->AddRef();
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    for (int n = threads * perThread; n > 1; --n)
        ASSERT_EQ(n - 1, square->Release());
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(0, square->Release());
    EXPECT_TRUE(destroyed);
}

TEST(KwObjectErrors, BaseReportsNoErrorAndNoClone)
{
    KwObject object;
    EXPECT_EQ(0u, object.GetErrorCode());
    EXPECT_EQ(nullptr, object.GetErrorMessage(0xF0000001u));
    EXPECT_EQ(nullptr, object.Clone());
}

TEST(KwObjectLock, OwnerMayEnterAgain)
{
    KwObject object;
    EXPECT_EQ(1, object.Lock(0));
    EXPECT_EQ(1, object.Lock(0));
    EXPECT_EQ(1, object.Unlock());
    EXPECT_EQ(1, object.Unlock());
}

TEST(KwObjectLock, UnlockWithoutLockAnswersZero)
{
    KwObject object;
    EXPECT_EQ(0, object.Unlock());
}

TEST(KwObjectLock, ZeroTimeoutTriesOnce)
{
    KwObject object;
    LockHolder holder(object);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, object.Lock(0));
    // A retry would have slept 100 ms.
    EXPECT_LT(MillisecondsSince(start), 100);
}

TEST(KwObjectLock, TimeoutGivesUpAfterItsTime)
{
    KwObject object;
    LockHolder holder(object);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, object.Lock(250));
    long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 250);
    EXPECT_LE(elapsed, 350);
}

TEST(KwObjectLock, TimeoutEntersOnceTheHolderLetsGo)
{
    KwObject object;
    LockHolder holder(object);
    std::thread releaser([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        holder.Release();
    });
    EXPECT_EQ(1, object.Lock(2000));
    EXPECT_EQ(1, object.Unlock());
    releaser.join();
}

TEST(KwObjectLock, InfiniteWaitsForTheHolder)
{
    KwObject object;
    std::atomic<bool> entered{false};
    std::thread waiter;
    {
        LockHolder holder(object);
        waiter = std::thread([&] {
            object.Lock(KW_INFINITE);
            entered = true;
            object.Unlock();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(entered);
    }
    waiter.join();
    EXPECT_TRUE(entered);
}
