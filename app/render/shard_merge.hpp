#pragma once
#include <cstdio>
#include <string>

// brannoc-render merge DIR: joins the shard manifests of one run
// (DIR/manifest.K-of-N.json, K = 0 .. N-1) into DIR/manifest.json, tiles in
// index order, as one unsharded run would have listed them. Refuses, with
// one line on `report` and exit code 2, a set with a shard missing, a shard
// twice, a shard not complete, or shards of different runs; exit code 1
// when manifest.json cannot be written.
int merge_shards(const std::string& folder, std::FILE* report);
