// The reference reader for the search benchmarks: one pass over a UTF-8 JSON
// answer with an explicit stack, no script engine, no recursion.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sp::bench {

struct PlainHit {
  std::string name;    // UTF-8
  std::string singer;  // UTF-8
};

// The "name" and "singer" strings of each object in the root object's "list"
// array, in order. Malformed JSON gives no hits.
std::vector<PlainHit> readPlainHits(std::string_view json);

}  // namespace sp::bench
