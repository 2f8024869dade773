#pragma once
// A started promise that several asynchronous steps can hold on to, and the
// one call that ends it. A promise dropped unfinished cancels its future.

#include <QFuture>
#include <QPromise>

#include <memory>

namespace zephrin {

template <typename T>
using SharedPromise = std::shared_ptr<QPromise<T>>;

template <typename T>
SharedPromise<T> startedPromise()
{
    auto promise = std::make_shared<QPromise<T>>();
    promise->start();
    return promise;
}

template <typename T, typename V>
void settle(const SharedPromise<T>& promise, V&& value)
{
    promise->addResult(std::forward<V>(value));
    promise->finish();
}

template <typename T>
QFuture<T> readyFuture(T value)
{
    auto promise = startedPromise<T>();
    settle(promise, std::move(value));
    return promise->future();
}

} // namespace zephrin
