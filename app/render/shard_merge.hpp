#pragma once
#include <cstdio>
#include <string>
#include <vector>

// brannoc-render merge [--split N] [--quiet] DIR: joins the shard
// manifests of one run (DIR/manifest.K-of-N.json, K = 0 .. N-1) into
// DIR/manifest.json, byte for byte as one unsharded run would have written
// it, once every file they list is there with the size and content hash it
// was written with. Refuses, with one line on `report` and exit code 2, a
// manifest of the wrong shape, a set with a shard missing, twice,
// unfinished or stale, shards of different runs, or a listed file missing
// or changed; exit code 1 when manifest.json cannot be written. On success
// one line on `out` (tiles, shards, folder) unless quiet.
struct MergeRequest {
    std::string folder;
    int split = 0;  // the N of the split to merge; 0: the only one there
    bool quiet = false;
};
int merge_shards(const MergeRequest& request, std::FILE* out, std::FILE* report);
// The same, quietly.
int merge_shards(const std::string& folder, std::FILE* report);

// The merge command's arguments (those after "merge"): its help on `out`
// with exit code 0, a usage error on `report` with 2, or the merge.
int merge_command(const std::vector<std::string>& args, std::FILE* out, std::FILE* report);
