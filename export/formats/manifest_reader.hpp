#pragma once
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// Reading back the manifests brannoc-render writes, beside their writer.

// One shard's manifest: DIR/manifest.K-of-N.json.
struct ShardManifest {
    std::string name;  // manifest.K-of-N.json
    int index = 0, count = 0;
    nlohmann::json manifest;
};

// The shard manifests of one split run in `folder`, in index order; or the
// one problem with the set (a shard missing, twice, unfinished, of another
// run, or not listing its part of the run), in a sentence.
struct ShardSet {
    std::vector<ShardManifest> shards;
    std::string problem;
};
ShardSet read_shard_manifests(const std::string& folder);

// The manifest one unsharded run would have written: the first shard's head
// without its part, then every shard's tiles in turn.
std::string merged_manifest_text(const std::vector<ShardManifest>& shards);
