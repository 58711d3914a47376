// The release the program and its files belong to.
namespace kestra {
extern const char* const kProgramVersion;
const char* const kProgramVersion = "2013.4.10";
}  // namespace kestra
