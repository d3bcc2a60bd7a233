#include "answer_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum::service {
namespace {

TEST(AnswerBufferTest, GathersAnswersUpToTheLimit) {
    AnswerBuffer buffer(10);
    EXPECT_TRUE(buffer.Append("hello", 5));
    EXPECT_TRUE(buffer.Append("world", 5));
    EXPECT_EQ(buffer.Text(), "helloworld");
    EXPECT_FALSE(buffer.Overflowed());
}

TEST(AnswerBufferTest, RefusesWhatWouldPassTheLimitAndStaysRefused) {
    AnswerBuffer buffer(10);
    EXPECT_TRUE(buffer.Append("hello", 5));
    EXPECT_FALSE(buffer.Append("world!", 6));
    EXPECT_TRUE(buffer.Overflowed());
    EXPECT_EQ(buffer.Text(), "hello");
    EXPECT_FALSE(buffer.Append("!", 1));
    EXPECT_EQ(buffer.Text(), "hello");
}

TEST(AnswerBufferTest, HoldsLessThanTwiceTheLimit) {
    const size_t limit = 100000;
    AnswerBuffer buffer(limit);
    const std::string piece(999, 'x');
    while (buffer.Append(piece.data(), piece.size())) {
    }
    EXPECT_GT(buffer.Text().size(), limit - piece.size());
    EXPECT_LT(buffer.Capacity(), 2 * limit);
}

TEST(AnswerBufferTest, ReleaseGivesTheMemoryBackAndStartsAfresh) {
    AnswerBuffer buffer(1 << 20);
    const std::string big(300000, 'x');
    ASSERT_TRUE(buffer.Append(big.data(), big.size()));
    ASSERT_FALSE(buffer.Append(big.data(), 1 << 20));
    buffer.Release();
    EXPECT_EQ(buffer.Text(), "");
    EXPECT_LE(buffer.Capacity(), std::string().capacity());
    EXPECT_FALSE(buffer.Overflowed());
    EXPECT_TRUE(buffer.Append("again", 5));
}

}  // namespace
}  // namespace kestrum::service
