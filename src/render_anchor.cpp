// Keeps tavro_render a valid library while reports/render/ holds no sources.
namespace tavro::render {
int anchor() { return 0; }
} // namespace tavro::render
