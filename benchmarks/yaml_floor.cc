// The floor for the upgrade benchmark: a bare libyaml pass that parses every
// file named on the command line into events and emits them back in block
// style over the same file. No value model, no edits.
#include <yaml.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int append(void* data, unsigned char* buffer, size_t size) {
  static_cast<std::string*>(data)->append(reinterpret_cast<const char*>(buffer), size);
  return 1;
}

bool round_trip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string input = text.str();

  yaml_parser_t parser;
  yaml_emitter_t emitter;
  yaml_parser_initialize(&parser);
  yaml_emitter_initialize(&emitter);
  yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(input.data()), input.size());
  std::string output;
  yaml_emitter_set_output(&emitter, append, &output);
  yaml_emitter_set_unicode(&emitter, 1);
  bool ok = true;
  for (bool done = false; ok && !done;) {
    yaml_event_t event;
    if (!yaml_parser_parse(&parser, &event)) {
      ok = false;
      break;
    }
    done = event.type == YAML_STREAM_END_EVENT;
    if (event.type == YAML_MAPPING_START_EVENT) event.data.mapping_start.style = YAML_BLOCK_MAPPING_STYLE;
    if (event.type == YAML_SEQUENCE_START_EVENT) event.data.sequence_start.style = YAML_BLOCK_SEQUENCE_STYLE;
    ok = yaml_emitter_emit(&emitter, &event) != 0;
  }
  yaml_parser_delete(&parser);
  yaml_emitter_delete(&emitter);
  if (!ok) return false;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << output;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path;
  int failures = 0;
  // File names come on standard input, one a line, or as arguments.
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) failures += round_trip(argv[i]) ? 0 : 1;
  } else {
    while (std::getline(std::cin, path)) failures += round_trip(path) ? 0 : 1;
  }
  if (failures > 0) std::fprintf(stderr, "%d files failed\n", failures);
  return failures > 0 ? 1 : 0;
}
