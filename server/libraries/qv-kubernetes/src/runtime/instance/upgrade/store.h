#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/system/exit.h"
#include "platform/text_file.h"
#include "result.h"
#include "runtime/instance/upgrade/plan.h"

namespace runtime::instance::upgrade::store {

using core::system::exit::CommandError;

// Where a step reads, writes and removes its file.
class Store {
 public:
  virtual ~Store() = default;
  // The location of the step's file, for messages.
  virtual std::string locate(const plan::Step& step) const = 0;
  // The file's whole text; none when the file does not exist.
  virtual qv_common::Result<std::optional<std::string>, CommandError> read(const plan::Step& step) = 0;
  // Replaces the whole file, creating it and its missing parent folders.
  virtual qv_common::Result<void, CommandError> write(const plan::Step& step, std::string text) = 0;
  // Removes the file; an absent file is not an error.
  virtual qv_common::Result<void, CommandError> remove(const plan::Step& step) = 0;
};

// The store over a folder that holds the family folders. With `by_file` a
// step's file lies under its variant-free name (a template for one
// provider); without it under its variant name (a kprofile folder).
class FolderStore final : public Store {
 public:
  FolderStore(std::filesystem::path root, bool by_file) : root_(std::move(root)), by_file_(by_file) {}

  std::filesystem::path path_of(const plan::Step& step) const;

  std::string locate(const plan::Step& step) const override;
  qv_common::Result<std::optional<std::string>, CommandError> read(const plan::Step& step) override;
  qv_common::Result<void, CommandError> write(const plan::Step& step, std::string text) override;
  qv_common::Result<void, CommandError> remove(const plan::Step& step) override;

 private:
  // A modify reads its file and writes it back at once: what the read found
  // there spares the write a second look at the file.
  struct LastRead {
    std::filesystem::path path;
    platform::FoundFile found;
  };

  std::filesystem::path root_;
  bool by_file_;
  std::optional<LastRead> last_read_;
};

}  // namespace runtime::instance::upgrade::store
