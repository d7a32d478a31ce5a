#include "app/cli_outputs.h"

#include "model/device_file.h"
#include "show/show_folder.h"
#include "util/output_path.h"

namespace orvane::cli {

int CheckCliOutputs(CliIo& io, const std::vector<CliOutput>& outputs,
                    const std::vector<std::filesystem::path>& inputs) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    const CliOutput& output = outputs[i];
    if (const auto input = InputAt(output.Path, inputs)) {
      ReportError(io, std::string(output.Option) + " names the input " + input->string() + "; choose another file");
      return kExitBadInput;
    }
    if (const Result<> fits = CheckOutputTarget(output.Path); !fits) {
      ReportError(io, std::string(output.Option) + ": " + fits.Message());
      return kExitBadInput;
    }
    for (size_t j = 0; j < i; ++j) {
      const bool same = std::filesystem::absolute(outputs[j].Path).lexically_normal() ==
                            std::filesystem::absolute(output.Path).lexically_normal() ||
                        InputAt(output.Path, {outputs[j].Path});
      if (same) {
        ReportError(io, std::string(outputs[j].Option) + " and " + output.Option + " name the same file " +
                            output.Path.string());
        return kExitBadInput;
      }
    }
  }
  return kExitDone;
}

std::vector<std::filesystem::path> CliInputFiles(const CliArgs& args) {
  std::vector<std::filesystem::path> inputs;
  // A folder that cannot be listed refuses the load itself.
  if (args.Has("--devices")) inputs = DeviceFilesInFolder(args.Value("--devices")).ValueOr({}).Files;
  if (args.Has("--show")) {
    const std::vector<std::filesystem::path> show = ShowInputFiles(args.Value("--show"));
    inputs.insert(inputs.end(), show.begin(), show.end());
  }
  if (args.Has("--cues")) inputs.push_back(args.Value("--cues"));
  return inputs;
}

}  // namespace orvane::cli
