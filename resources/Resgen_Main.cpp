// glowsaver_resgen: the asset generator. Run by the build as
//   glowsaver_resgen TREE
// it makes every asset of the registry and writes the modules they name:
// the resource library TREE/Plugins/ServiceFullSet.bioTarvik and the add-on
// skin packs beside it. Writers run on all cores; the modules' bytes do not
// depend on how many. Each module is written to a temporary file and renamed
// over the old one when complete. On any failure it prints the reason, leaves
// older modules untouched (none is written unless every asset was made) and
// exits with status 1.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

#include "resources/Resgen_Assets.h"
#include "resources/Zip_Writer.h"

namespace {

// Every asset family, in the order their resources are stored.
Resgen_Registry Resgen_Build_Registry() {
  Resgen_Registry registry;
  Movies_Register(registry);
  Skins_Register(registry);
  Pictures_Register(registry);
  Font_Strip_Register(registry);
  Shapes_Register(registry);
  return registry;
}

// Runs the writers on up to `workers` threads. Returns false and sets *error
// to the first failure in registry order.
bool Resgen_Run(const Resgen_Registry& registry, unsigned workers, std::vector<Resgen_Asset>& assets,
                std::string* error) {
  assets.assign(registry.size(), Resgen_Asset{});
  std::vector<std::string> failures(registry.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < registry.size(); i = next++) {
      try {
        assets[i] = registry[i]();
      } catch (const std::exception& e) {
        failures[i] = e.what();
        if (failures[i].empty()) failures[i] = "unknown error";
      }
    }
  };
  std::vector<std::thread> threads;
  for (unsigned w = 1; w < workers && w < registry.size(); ++w) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();

  for (size_t i = 0; i < registry.size(); ++i) {
    if (!failures[i].empty()) {
      *error = "asset writer " + std::to_string(i) + " failed: " + failures[i];
      return false;
    }
  }
  return true;
}

// A module is a plain file name inside Plugins/.
bool Resgen_Module_Name_Ok(const std::string& module) {
  return !module.empty() && module != "." && module != ".." && module.find('/') == std::string::npos &&
         module.find('\\') == std::string::npos;
}

// Names must be unique within a module ignoring ASCII case, since that is how
// they are found.
bool Resgen_Check_Names(const std::vector<Resgen_Asset>& assets, std::string* error) {
  std::unordered_set<std::string> keys;
  for (const Resgen_Asset& asset : assets) {
    if (!Resgen_Module_Name_Ok(asset.Module)) {
      *error = "bad module name \"" + asset.Module + "\" for \"" + asset.Type + "/" + asset.Name + "\"";
      return false;
    }
    if (asset.Type.empty() || asset.Name.empty() || asset.Type.find('/') != std::string::npos) {
      *error = "bad resource name \"" + asset.Type + "/" + asset.Name + "\"";
      return false;
    }
    std::string key = asset.Module + ":" + asset.Type + "/" + asset.Name;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    if (!keys.insert(key).second) {
      *error = "resource \"" + asset.Type + "/" + asset.Name + "\" is made twice in " + asset.Module;
      return false;
    }
  }
  return true;
}

// The assets grouped by module, the resource library first, then the other
// modules in the order they first appear; registry order within each.
struct Resgen_Module_Contents {
  std::string Module;
  std::vector<Resgen_Asset> Assets;
};
std::vector<Resgen_Module_Contents> Resgen_Group_By_Module(std::vector<Resgen_Asset>&& assets) {
  std::vector<Resgen_Module_Contents> modules;
  modules.push_back({Resgen_Library_Module, {}});
  for (Resgen_Asset& asset : assets) {
    auto at = std::find_if(modules.begin(), modules.end(),
                           [&](const Resgen_Module_Contents& m) { return m.Module == asset.Module; });
    if (at == modules.end()) {
      modules.push_back({asset.Module, {}});
      at = modules.end() - 1;
    }
    at->Assets.push_back(std::move(asset));
  }
  return modules;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glowsaver_resgen TREE_FOLDER\n");
    return 2;
  }
  const std::filesystem::path plugins = std::filesystem::path(argv[1]) / "Plugins";

  std::error_code made;
  std::filesystem::create_directories(plugins, made);
  if (made) {
    std::fprintf(stderr, "resgen: cannot make folder %s: %s\n", plugins.string().c_str(), made.message().c_str());
    return 1;
  }

  const Resgen_Registry registry = Resgen_Build_Registry();
  const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
  std::vector<Resgen_Asset> assets;
  std::string error;
  if (!Resgen_Run(registry, workers, assets, &error) || !Resgen_Check_Names(assets, &error)) {
    std::fprintf(stderr, "resgen: %s\n", error.c_str());
    return 1;
  }

  for (const Resgen_Module_Contents& module : Resgen_Group_By_Module(std::move(assets))) {
    const std::string path = (plugins / module.Module).string();
    if (!Zip_Write_Module(path, module.Assets, &error)) {
      std::fprintf(stderr, "resgen: %s\n", error.c_str());
      return 1;
    }
    size_t bytes = 0;
    for (const Resgen_Asset& asset : module.Assets) bytes += asset.Bytes.size();
    std::printf("resgen: wrote %zu resources (%zu bytes of content) to %s\n", module.Assets.size(), bytes,
                path.c_str());
  }
  return 0;
}
